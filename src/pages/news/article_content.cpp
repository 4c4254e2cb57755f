#include "pages/news/article_content.h"

#include "chrome/ticker_manager.h"
#include "model/model.h"
#include "model/news/article.h"
#include "model/news/headline.h"
#include "model/news/manager.h"
#include "model/updated_mark.h"

#include <algorithm>

namespace zor {

article_content::article_content(const std::wstring& category_name, const std::wstring& subcategory_name,
                                 const std::wstring& headline_id, ticker_manager* tickers)
    : category_name(category_name), subcategory_name(subcategory_name), headline_id(headline_id),
      view(new ui::article_view2), tickers(tickers) {
    view->picture_clicked.connect(utils::function0<void>(this, &article_content::on_picture_clicked));
}

article_content::~article_content() = default;

content_state article_content::get_state() const {
    content_state s(L"article", category_name, subcategory_name, headline_id);
    if (loaded && !has_error())
        s.extra = view->place_record();
    return s;
}

void article_content::resume(const content_state& s) {
    view->keep_place_record(s.extra);
}

void article_content::show_tickers(bool on) {
    if (!tickers)
        return;
    const bool was_shown = tickers->is_shown() && tickers->get_mode() == ticker_manager::adverts_only;
    if (on) {
        if (!was_shown) {
            tickers->set_mode(ticker_manager::adverts_only);
            tickers->set_visible(true);
        }
    } else if (tickers->is_shown()) {
        tickers->set_mode(ticker_manager::off);
        tickers->set_visible(false);
    }
    // The page makes room for the advert under the text, or gives it back.
    if (on != was_shown)
        layout_changed();
}

void article_content::activate() {
    if (loaded && !has_error())
        show_tickers(true);
}

void article_content::deactivate() {
    show_tickers(false);
}

void article_content::find_and_queue() {
    if (!headline) {
        if (auto news = zor::model::news_manager())
            headline = news->find_headline(category_name, subcategory_name, headline_id);
    }
    if (headline && !headline->is_queued() && !(headline->is_loaded() && !headline->is_failed()))
        zor::model::load(headline);
}

void article_content::fill() {
    if (!headline || !headline->is_loaded())
        return;
    // Loaded before the advert asks the page for room: the page's new layout must reach the view.
    loaded = true;
    if (!headline->is_failed()) {
        {
            news::article_lock lock(headline);
            if (news::article_ptr article = lock.article()) {
                auto thumbnail = article->thumbnail();
                view->set_heading(headline->text());
                view->set_note(zor::updated_mark(headline->copy_time()));
                view->set_content(article->location(), article->paragraphs(), thumbnail);
                zor::model::load_missing_picture(thumbnail);
            }
        }
        hide_error();
        view->layout();
        show_tickers(true);
    } else if (!has_error()) {
        show_error();
    }
}

void article_content::update(unsigned long now_ms) {
    if (!loaded) {
        show_tickers(false);
        if (!headline || !headline->is_loaded())
            find_and_queue();
        else
            fill();
    } else if (has_error()) {
        if (headline && headline->is_failed() && headline->is_outdated(static_cast<std::uint32_t>(now_ms)))
            find_and_queue();
        else if (headline && headline->is_loaded() && !headline->is_failed())
            fill();
    }
    if (loaded && !has_error()) {
        // A picture dropped from the memory budget is fetched again rather than waited for.
        const auto& picture = view->shown_picture();
        if (picture && !picture->is_loaded() && !picture->is_queued())
            zor::model::load_missing_picture(picture);
        view->update(now_ms);
        if (view->is_dirty() && tickers)
            tickers->set_dirty(true);
    }
}

void article_content::layout() {
    if (loaded && !has_error())
        view->layout();
    else if (has_error())
        show_error();
}

void article_content::draw(cl::ui::i_graphics& g, bool) {
    if (has_error())
        draw_error(g);
    else
        view->draw(g, true);
}

void article_content::on_picture_clicked() {
    request(get_state());
}

attach_content::attach_content(const std::wstring& category_name, const std::wstring& subcategory_name,
                               const std::wstring& headline_id)
    : category_name(category_name), subcategory_name(subcategory_name), headline_id(headline_id) {}

content_state attach_content::get_state() const {
    return content_state(L"attach", category_name, subcategory_name, headline_id);
}

void attach_content::set_rect(const platform::RECT& r) {
    rect = platform::RECT{r.left + margin, r.top + margin, r.right - margin, r.bottom - margin};
    dirty = true;
}

int attach_content::side() const {
    return std::min(rect.right - rect.left, rect.bottom - rect.top) - 6;
}

void attach_content::ask_for_picture() {
    auto news = zor::model::news_manager();
    if (!news)
        return;
    news::headline_ptr h = news->find_headline(category_name, subcategory_name, headline_id);
    if (!h || !h->is_loaded() || side() <= 0)
        return;
    news::article_lock lock(h);
    news::article_ptr article = lock.article();
    if (!article)
        return;
    const int s = side();
    article->set_picture_size(static_cast<unsigned>(s), static_cast<unsigned>(s));
    picture = article->full_sized_picture();
    if (!picture)
        return;
    if (picture->is_loaded()) {
        // Made for another screen size: fetch it again at this one.
        cl::ui::image_ptr image = picture->get_image();
        if (image && (image->width() != s || image->height() != s))
            picture->set_failed(true);
    }
    if ((!picture->is_loaded() || picture->is_failed()) && !article->is_queued())
        zor::model::load(article);
}

void attach_content::update(unsigned long now_ms) {
    if (!picture) {
        ask_for_picture();
        return;
    }
    // Not there yet, or failed some time ago (not at every frame): ask again.
    const bool retry = picture->is_failed() && picture->is_outdated(static_cast<std::uint32_t>(now_ms));
    if ((!picture->is_loaded() || retry) && !picture->is_queued()) {
        ask_for_picture();
        return;
    }
    if (!loaded && picture->is_loaded() && !picture->is_failed()) {
        loaded = true;
        dirty = true;
    }
}

void attach_content::layout() {
    dirty = true;
}

void attach_content::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    if (picture && picture->is_loaded() && !picture->is_failed()) {
        if (cl::ui::image_ptr image = picture->get_image())
            g.draw_image_centered(image, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    dirty = false;
}

void attach_content::on_pen_up(const platform::POINT& p) {
    if (cl::ui::contains(rect, p))
        back();
}

} // namespace zor
