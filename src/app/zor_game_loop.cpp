#include "app/zor_game_loop.h"

#include "app/main_window.h"
#include "platform/com.h"
#include "utils/errors.h"

namespace zor {
namespace app {

zor_game_loop::com_marker::com_marker() {
    platform::co_initialize();
}
zor_game_loop::com_marker::~com_marker() {
    platform::co_uninitialize();
}

zor_game_loop::zor_game_loop(main_window& window) : window(&window) {}

zor_game_loop::~zor_game_loop() {
    com.reset();
}

void zor_game_loop::init() {
    utils::trace_scope trace("zor::app::zor_game_loop::init");
    com.reset();
    com.reset(new com_marker);
    platform::RECT client = window->get_client_rect();
    portrait = (client.bottom - client.top) > (client.right - client.left);
    // The graphics back-end, the model root and the controller join the loop here as they are built.
}

void zor_game_loop::cleanup() {
    utils::trace_scope trace("zor::app::zor_game_loop::cleanup");
    com.reset();
}

void zor_game_loop::update(unsigned long) {}

void zor_game_loop::draw() {
    // Nothing to draw until the loop has a graphics back-end and a controller.
}

void zor_game_loop::on_event(const cl::app::event&) {
    // Without a controller every event is ignored.
}

void zor_game_loop::resume() {
    game_loop::resume();
    force_redraw = true;
}

} // namespace app
} // namespace zor
