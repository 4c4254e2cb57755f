#include "chrome/ticker_manager.h"

#include "model/model.h"
#include "model/news/category.h"
#include "model/news/manager.h"

namespace zor {

ticker_manager::ticker_manager() {
    // Nothing to draw before the page gives the strip its area.
    dirty = false;
    for (int i = 0; i < 2; ++i) {
        news_tickers[i].reset(new zor::ui::news_ticker);
        adv_tickers[i].reset(new zor::ui::adv_ticker);
        news_tickers[i]->request.connect(
            utils::function1<void, content_state>(this, &ticker_manager::on_news_request));
        for (zor::ui::ticker* t : {static_cast<zor::ui::ticker*>(news_tickers[i].get()),
                                   static_cast<zor::ui::ticker*>(adv_tickers[i].get())})
            t->finished.connect(utils::function1<void, zor::ui::ticker*>(this, &ticker_manager::on_finished));
    }
    prepare(news_tickers[0].get());
    prepare(news_tickers[1].get());
    // The two advert tickers take turns, so between them they show every banner in order.
    adv_tickers[1]->advance(1);
}

ticker_manager::~ticker_manager() = default;

bool ticker_manager::is_news(const zor::ui::ticker* t) const {
    return t == news_tickers[0].get() || t == news_tickers[1].get();
}

void ticker_manager::prepare(zor::ui::ticker* t) {
    if (!t)
        return;
    if (!is_news(t)) {
        static_cast<zor::ui::adv_ticker*>(t)->advance(2);
        t->clear_text();
        return;
    }
    auto manager = zor::model::news_manager();
    if (!manager)
        return;
    const news::category_list& list = manager->categories();
    if (list.empty())
        return;
    // The categories in turn, wrapping round: the two news tickers take every other one.
    t->set_text(list[next_category % list.size()]->name());
    next_category = (next_category + 1) % list.size();
}

void ticker_manager::stop(zor::ui::ticker*& t) {
    if (!t)
        return;
    t->stop();
    prepare(t);
    t = nullptr;
}

void ticker_manager::set_mode(int m) {
    stop(current);
    stop(previous);
    run_started = 0;
    end_run = false;
    mode = m;
    if (m == news_and_adverts) {
        shown = true;
        current = news_tickers[next_news].get();
        next_news ^= 1;
    } else if (m == adverts_only) {
        shown = true;
        current = adv_tickers[next_adv].get();
        next_adv ^= 1;
    } else {
        shown = false;
    }
    dirty = true;
}

void ticker_manager::set_rect(const platform::RECT& r) {
    rect = r;
    layout();
}

void ticker_manager::layout() {
    for (int i = 0; i < 2; ++i) {
        news_tickers[i]->set_rect(rect);
        adv_tickers[i]->set_rect(rect);
    }
    dirty = true;
}

bool ticker_manager::is_visible() const {
    return shown && current && current->is_visible();
}

void ticker_manager::set_visible(bool v) {
    // The left soft key names the ticker's command only while the strip is on screen; hidden, the key is
    // free for the content that is shown instead.
    if (v != shown)
        label(v && current && run_started != 0 ? current->action_caption() : std::wstring());
    shown = v;
    dirty = true;
}

void ticker_manager::begin(zor::ui::ticker* t, unsigned long now_ms) {
    run_started = now_ms == 0 ? 1 : now_ms;
    run_length = t->run_length(1);
    t->start_run(now_ms);
    t->layout();
    if (shown)
        label(t->action_caption());
}

zor::ui::ticker* ticker_manager::next_of_other_kind() {
    zor::ui::ticker* other = is_news(current) ? static_cast<zor::ui::ticker*>(adv_tickers[next_adv].get())
                                              : static_cast<zor::ui::ticker*>(news_tickers[next_news].get());
    if (!other->is_failed())
        return other;
    if (is_news(other)) {
        // Its category failed (it was asked for again) or has nothing: the next category instead, which
        // shows as soon as it is ready. After a whole round of failures the adverts go on meanwhile.
        auto manager = zor::model::news_manager();
        const std::size_t count = manager ? manager->categories().size() : 0;
        if (passed < count) {
            ++passed;
            prepare(other);
            return other;
        }
        passed = 0;
    }
    // No advert to show (or no news): the same kind comes again.
    return is_news(current) ? static_cast<zor::ui::ticker*>(news_tickers[next_news].get())
                            : static_cast<zor::ui::ticker*>(adv_tickers[next_adv].get());
}

void ticker_manager::update(unsigned long now_ms) {
    // Every ticker fills itself and moves, whether it is on screen or waiting.
    for (int i = 0; i < 2; ++i) {
        news_tickers[i]->update(now_ms);
        adv_tickers[i]->update(now_ms);
    }
    if (mode != off && current) {
        if (run_started == 0 && current->is_loaded())
            begin(current, now_ms);
        if (mode == news_and_adverts) {
            const bool over = run_started != 0 &&
                              (end_run || static_cast<std::uint32_t>(now_ms - run_started) >= run_length);
            const bool hopeless = run_started == 0 && current->is_failed();
            if (over || hopeless) {
                zor::ui::ticker* candidate = next_of_other_kind();
                if (candidate != current && candidate->is_loaded()) {
                    stop(previous);
                    if (current->anim_mode() != zor::ui::ticker::still) {
                        previous = current;
                        previous->run_to_end();
                    } else {
                        stop(current);
                    }
                    if (is_news(candidate))
                        next_news ^= 1;
                    else
                        next_adv ^= 1;
                    if (is_news(candidate))
                        passed = 0;
                    current = candidate;
                    run_started = 0;
                    end_run = false;
                    begin(current, now_ms);
                }
            }
        }
    }
    for (zor::ui::ticker* t : {current, previous}) {
        if (t && t->is_visible() && t->is_dirty())
            dirty = true;
    }
}

void ticker_manager::draw(cl::ui::i_graphics& g, bool force) {
    if (!force && !dirty)
        return;
    dirty = false;
    const bool leaving = previous && previous->is_visible();
    if (!shown || (!is_visible() && !leaving))
        return;
    g.fill_rect(rect, 0xFFFFFF);
    if (leaving)
        previous->draw(g, true);
    if (is_visible())
        current->draw(g, true);
    g.invalidate(rect);
}

void ticker_manager::on_finished(zor::ui::ticker* t) {
    if (t == previous)
        previous = nullptr;
    prepare(t);
    dirty = true;
}

void ticker_manager::on_news_request(content_state s) {
    request(s);
}

void ticker_manager::drag_y(int, int) {
    // One ticker per swipe: the moves of a swipe that come while the last one leaves do nothing.
    if (current && current->is_loaded() && current->anim_mode() == zor::ui::ticker::running &&
        !(previous && previous->is_visible()))
        end_run = true;
}

bool ticker_manager::claims_label(const std::wstring& text) {
    if (!is_visible() || text != current->action_caption())
        return false;
    current->open();
    return true;
}

void ticker_manager::on_key_down(int key) {
    if (key == platform::VK_UP || key == platform::VK_DOWN)
        drag_y(0, key == platform::VK_UP ? -1 : 1);
}

void ticker_manager::on_pen_down(const platform::POINT& p) {
    tap.press(p);
}

void ticker_manager::on_pen_up(const platform::POINT& p) {
    if (tap.release(p) && is_visible() && cl::ui::contains(current->moving_rect(), p))
        current->open();
}

} // namespace zor
