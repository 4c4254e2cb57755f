#include "app/zor_game_loop.h"

#include "app/controller.h"
#include "app/main_window.h"
#include "model/config.h"
#include "model/model.h"
#include "platform/com.h"
#include "platform/module.h"
#include "platform/panel_activity.h"
#include "platform/text.h"
#include "ui/graphics.h"
#include "ui/resources.h"
#include "ui/static_fonts.h"
#include "utils/errors.h"

#include <string>

namespace zor {
namespace app {

namespace {
const platform::RECT fps_rect{200, 20, 280, 40};
}

zor_game_loop::com_marker::com_marker() {
    platform::co_initialize();
}
zor_game_loop::com_marker::~com_marker() {
    platform::co_uninitialize();
}

zor_game_loop::zor_game_loop(main_window& window) : window(&window) {}

zor_game_loop::~zor_game_loop() {
    com.reset();
    control.reset();
    graphics.reset();
}

void zor_game_loop::init() {
    utils::trace_scope trace("zor::app::zor_game_loop::init");
    com.reset();
    com.reset(new com_marker);
    cl::ui::create_graphics(*window);
    platform::RECT client = window->get_client_rect();
    cl::ui::resources::set_portrait((client.bottom - client.top) > (client.right - client.left));
    graphics = cl::ui::get_graphics();
    zor::config::init(platform::from_utf8(platform::module_folder(window->get_instance())));
    zor::model::init();
    control.reset();
    control.reset(new controller);
    control->init();
    control->set_rect(client);
    control->layout();
}

void zor_game_loop::cleanup() {
    utils::trace_scope trace("zor::app::zor_game_loop::cleanup");
    control.reset();
    zor::model::done();
    graphics.reset();
    cl::ui::destroy_graphics();
    com.reset();
}

void zor_game_loop::update(unsigned long now_ms) {
    if (control)
        control->update(now_ms);
}

void zor_game_loop::draw() {
    if (!graphics || !control)
        return;
    ++frame_count;
    if (frame_count <= 10)
        force_redraw = true;
    graphics->begin_frame();
    control->draw(*graphics, force_redraw);
    force_redraw = false;
    if (show_fps) {
        graphics->fill_rect(fps_rect, 0x000000);
        graphics->draw_text(L"FPS: " + std::to_wstring(fps), fps_rect, cl::ui::fonts::generic_sans_22,
                            0xFFFFFF, cl::ui::align_center);
        graphics->invalidate_ornament(fps_rect);
    }
    graphics->end_frame(true);
    publish_page();
}

void zor_game_loop::publish_page() {
    i_page_content* c = control->current_page().contents().current_content();
    std::wstring name = c ? c->page_name() : std::wstring();
    if (name != shown_page) {
        shown_page = name;
        platform::note_shown_page(platform::to_utf8(name));
    }
}

void zor_game_loop::on_event(const cl::app::event& e) {
    if (!graphics || !control)
        return;
    switch (e.type) {
    case cl::app::event::resize: {
        control->resize(window->get_client_rect());
        graphics->update_size();
        force_redraw = true;
        break;
    }
    case cl::app::event::paint:
    case cl::app::event::erase:
        force_redraw = true;
        break;
    default:
        control->process_event(e);
        break;
    }
}

void zor_game_loop::pause() {
    game_loop::pause();
    if (control)
        control->panel_paused(true);
}

void zor_game_loop::resume() {
    game_loop::resume();
    force_redraw = true;
    if (control)
        control->panel_paused(false);
}

} // namespace app
} // namespace zor
