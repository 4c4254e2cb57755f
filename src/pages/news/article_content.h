#pragma once

#include "chrome/article_view2.h"
#include "content/i_page_content.h"
#include "utils/trackable.h"

#include <boost/shared_ptr.hpp>

namespace news {
class headline;
}

namespace zor {

class ticker_manager;

// The article behind one headline: its text and picture in an article view. The article is fetched when the
// content first updates; a failed fetch shows the error view and is retried after 30 seconds. While a filled
// article is shown, the advert ticker runs under it.
class article_content : public i_page_content, public utils::trackable {
public:
    article_content(const std::wstring& category_name, const std::wstring& subcategory_name,
                    const std::wstring& headline_id, ticker_manager* tickers);
    ~article_content() override;

    bool is_loaded() const override { return loaded; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"article"; }
    std::wstring title() const override { return category_name; }
    std::wstring name() const override { return category_name; }
    platform::COLORREF color() const override { return 0; }
    // With the reading place (paragraph, how far into it) once the reader scrolled.
    content_state get_state() const override;
    // Opens the text at the reading place its state kept, once the text is there.
    void resume(const content_state& s) override;
    void activate() override;
    void deactivate() override;

    bool is_dirty() const override { return view->is_dirty(); }
    void set_dirty(bool d) override { view->set_dirty(d); }
    platform::RECT get_rect() const override { return view->get_rect(); }
    void set_rect(const platform::RECT& r) override { view->set_rect(r); }
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void process_event(const cl::app::event& e) override { view->process_event(e); }
    void scroll_y(int dy) override { view->scroll_y(dy); }

    ui::article_view2& article_view() { return *view; }

private:
    void find_and_queue();
    void fill();
    void on_picture_clicked();
    void show_tickers(bool on);

    boost::shared_ptr<news::headline> headline;
    std::wstring category_name;
    std::wstring subcategory_name;
    std::wstring headline_id;
    boost::shared_ptr<ui::article_view2> view;
    bool loaded = false;
    ticker_manager* tickers;
};

// The article's picture enlarged to the page: fetched at the size of the area, again when that size changed;
// a tap goes back to the article.
class attach_content : public i_page_content, public utils::trackable {
public:
    static constexpr int margin = 15;

    attach_content(const std::wstring& category_name, const std::wstring& subcategory_name,
                   const std::wstring& headline_id);

    bool is_loaded() const override { return loaded; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"attach"; }
    std::wstring title() const override { return category_name; }
    std::wstring name() const override { return headline_id; }
    platform::COLORREF color() const override { return 0; }
    content_state get_state() const override;

    // The picture's area: r less the margins.
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    // The picture centred in the area once it is there.
    void draw(cl::ui::i_graphics& g, bool force) override;
    // A tap goes back to the article.
    void on_pen_up(const platform::POINT& p) override;

    // The side of the square the picture is fetched at.
    int side() const;

private:
    void ask_for_picture();

    std::wstring category_name;
    std::wstring subcategory_name;
    std::wstring headline_id;
    bool loaded = false;
    boost::shared_ptr<cl::ui::async_picture> picture;
};

} // namespace zor
