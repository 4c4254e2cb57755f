#pragma once

#include "ui/affectors.h"
#include "ui/simple_list_box.h"
#include "utils/signal.h"

#include <string>

namespace cl {
namespace ui {

// A holder that shows one row and wipes it away to the right (its left edge travels at a constant speed
// while its right edge stays), or brings it back. Rows held at different speeds move one after another.
class move_list_box_item : public i_list_box_item {
public:
    // Pixels per millisecond.
    explicit move_list_box_item(double speed);

    // Emitted once when a slide_out has wiped the row away, with the row's text.
    utils::signal<utils::function1<void, std::wstring>> finished;

    // Not owned; may be null. The new row takes the holder's place as it stands: wiped away after a
    // slide_out, so that slide_in brings it in.
    virtual void set_item(i_list_box_item* item);
    virtual void slide_out();
    virtual void slide_in();
    i_list_box_item* item() const { return inner; }
    bool is_moving() const { return moving; }
    // The left edge the row is drawn from.
    double position() const { return edge.value(0); }

    bool is_visible() const override { return inner && inner->is_visible(); }
    void set_visible(bool v) override;
    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(i_graphics& g, bool force) override;

    void set_selected(bool selected) override;
    bool is_selected() const override { return inner && inner->is_selected(); }
    void set_tag(int, int) override {}
    std::wstring type_name() const override { return L"move_list_box_item"; }
    std::wstring text() const override { return std::wstring(); }

private:
    void place_inner();

    bool moving = false;
    i_list_box_item* inner = nullptr;
    cl::aff::linear_affector edge;
    bool placed = false; // the row stands where the edge is
};

} // namespace ui
} // namespace cl
