#pragma once

#include "content/i_page_content.h"
#include "ui/globe.h"
#include "ui/picture.h"
#include "utils/trackable.h"

#include <boost/shared_ptr.hpp>
#include <memory>

namespace zor {

// The world view: the earth turned by dragging, by its four arrows or the arrow keys; a tap on the globe or
// Enter opens the weather map of the continent facing the user.
class globe_content : public i_page_content, public utils::trackable {
public:
    enum drag_state { idle = 0, pressed = 1, dragging = 2, reset = 3 };

    // Without a GL renderer (gl_ready false) the content shows its error view.
    globe_content(const boost::shared_ptr<cl::ui::globe>& globe, bool landscape, bool gl_ready = true);

    // The world view's set-up: a globe on the process-wide graphics, the renderer built over the earth
    // textures of the folder, the globe shown at tilt and spin. A renderer that cannot start is logged and
    // leaves the content on its error view.
    static std::unique_ptr<globe_content> make(bool landscape, int tilt, int spin,
                                               const std::wstring& folder);

    bool is_loaded() const override { return true; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"globe"; }
    std::wstring title() const override { return L"World view"; }
    std::wstring name() const override { return L"Globe"; }
    platform::COLORREF color() const override { return 0xDCC328; }
    content_state get_state() const override;

    void update(unsigned long now_ms) override;
    void layout() override;
    void draw(cl::ui::i_graphics& g, bool force) override;
    void on_key_down(int key) override;
    void on_pen_down(const platform::POINT& pt) override;
    void on_pen_move(const platform::POINT& pt) override;
    void on_pen_up(const platform::POINT& pt) override;

    cl::ui::globe& earth() { return *globe; }
    int drag() const { return state; }
    // After layout: up, down, left, right arrow.
    platform::RECT arrow_rect(int which) const { return arrows[which].get_rect(); }
    platform::RECT globe_rect() const { return disc; }
    // The colour round the globe, the renderer's own.
    static constexpr platform::COLORREF background = 0xD6D3D6;

private:
    void open_region();

    boost::shared_ptr<cl::ui::globe> globe;
    cl::ui::picture arrows[4];
    cl::ui::picture shade;
    int shade_side = 0;
    // The square the globe is drawn in.
    platform::RECT disc{0, 0, 0, 0};
    bool landscape;
    bool gl_ready;
    int state = idle;
    platform::POINT press{0, 0};
    platform::POINT last{0, 0};
    // Pixels moved and degrees turned since the pen went down.
    int moved_x = 0;
    int moved_y = 0;
    int turned_x = 0;
    int turned_y = 0;
};

} // namespace zor
