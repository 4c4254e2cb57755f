#pragma once

#include "app/content_factory.h"
#include "content/i_page_content.h"
#include "support/config_file.h"

#include <memory>
#include <string>
#include <vector>

// A page content whose kind, name and state a test chooses; it writes what happens to it into a journal
// ("activate Home", "down 10,200 Home", "scroll -12 Home") and fills its rectangle with its colour.
class test_content : public zor::i_page_content {
public:
    test_content(std::wstring page, std::wstring name, std::vector<std::string>* journal = nullptr)
        : page(std::move(page)), key(std::move(name)), journal(journal) {}

    bool is_loaded() const override { return loaded; }
    bool is_failed() const override { return failed; }
    std::wstring page_name() const override { return page; }
    std::wstring title() const override { return caption.empty() ? key : caption; }
    std::wstring name() const override { return key; }
    platform::COLORREF color() const override { return colour; }
    zor::content_state get_state() const override;
    void activate() override { note("activate"); }
    void deactivate() override { note("deactivate"); }
    void scroll_y(int dy) override { note("scroll " + std::to_string(dy)); }
    void resume(const zor::content_state& s) override { resumed = s; }

    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    bool is_dirty() const override { return dirty; }
    void set_dirty(bool d) override { dirty = d; }
    platform::RECT get_rect() const override { return rect; }
    void set_rect(const platform::RECT& r) override { rect = r; }
    void update(unsigned long) override { ++updates; }
    void layout() override { ++layouts; }
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_pen_down(const platform::POINT& p) override;
    void on_key_down(int key) override { note("key " + std::to_string(key)); }

    std::wstring page;
    std::wstring key;
    std::wstring caption;
    platform::COLORREF colour = 0x336699;
    bool loaded = true;
    bool failed = false;
    bool dirty = false;
    // Values 1 and 2 of the history record.
    std::wstring value1, value2;
    std::vector<std::int32_t> extra;
    // The last record it was shown again from.
    zor::content_state resumed;
    platform::RECT rect;
    int updates = 0;
    int layouts = 0;
    int draws = 0;

private:
    void note(const std::string& what);
    std::vector<std::string>* journal;
};

// Makes test contents for every kind of page and writes each call into the journal, for example
// "headlines World|a|b" or "globe 10,320".
class recording_factory : public zor::app::content_factory {
public:
    explicit recording_factory(std::vector<std::string>* journal) : journal(journal) {}

    std::vector<std::wstring> categories{L"World", L"Business", L"Sport"};
    // Headline ids of every category's articles.
    std::vector<std::wstring> headline_ids{L"h1", L"h2", L"h3"};

    content_list main_contents(zor::app::page&) override;
    content_list headlines(zor::app::page&, const params& requested) override;
    content_list articles(zor::app::page&, const params& requested) override;
    content_list attachment(zor::app::page&, const params& requested) override;
    content_list continent_map(zor::app::page&, const std::wstring& code, const std::wstring& name) override;
    content_list zone_map(zor::app::page&, const params& requested) override;
    content_list video(zor::app::page&, const std::wstring& name, const std::wstring& clip) override;
    content_list globe(zor::app::page&, int angle_a, int angle_b) override;
    content_list add_city(zor::app::page&, const std::wstring& search) override;
    content_list detailed_weather(zor::app::page&, const std::wstring& city,
                                  const std::wstring& second) override;
    content_list city_list(zor::app::page&) override;
    content_list terms(zor::app::page&) override;

    std::vector<std::string>* journal;

private:
    void note(const std::string& what);
    // Notes the call, then makes one content.
    content_list one(const std::string& call, const std::wstring& page, const std::wstring& name);
};
