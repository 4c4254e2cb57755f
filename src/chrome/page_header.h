#pragma once

#include "ui/picture.h"

#include <memory>

namespace zor {
namespace ui {

// The grey strip under the header: one picture ("top_bar") filling it.
class page_header : public cl::ui::i_control {
public:
    page_header();

    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    bool is_dirty() const override { return strip.is_dirty(); }
    void set_dirty(bool d) override { strip.set_dirty(d); }
    platform::RECT get_rect() const override { return strip.get_rect(); }
    void set_rect(const platform::RECT& r) override { strip.set_rect(r); }
    void update(unsigned long now_ms) override { strip.update(now_ms); }
    void layout() override { strip.layout(); }
    void draw(cl::ui::i_graphics& g, bool force) override { strip.draw(g, force); }

private:
    cl::ui::picture strip;
};

} // namespace ui
} // namespace zor
