#pragma once

#include "loop/loop_thread.h"
#include "ui/main_window.h"

#include <boost/shared_ptr.hpp>
#include <functional>
#include <memory>

namespace zor {
namespace app {

// The panel window: turns the host's messages into frame-loop events, starts, pauses, resumes and stops
// the loop, fits itself below the host's top bar, and keeps the soft-input-panel button hidden.
class main_window : public cl::ui::main_window {
public:
    // Height of the host's top bar.
    static constexpr int top_bar_height = 52;
    // The host's private messages.
    static constexpr platform::UINT msg_stop = 6025;
    static constexpr platform::UINT msg_start = 6026;
    static constexpr platform::UINT msg_pause = 6027;

    using loop_factory = std::function<boost::shared_ptr<cl::app::game_loop>(main_window&)>;

    main_window();
    // Tests run the window with a loop of their own.
    explicit main_window(loop_factory make_loop);
    ~main_window() override;

    platform::RECT get_client_rect() override;
    void on_settings_changed(int) override;
    platform::LRESULT handle_message(platform::UINT msg, platform::WPARAM wparam,
                                     platform::LPARAM lparam) override;

    void start_app();
    void pause_app();
    void resume_app();
    void stop_app();
    void post_event(int type, int key, int x, int y);

    bool is_started() const { return started; }
    bool is_paused() const { return paused; }
    cl::app::loop_thread& get_loop() { return *loop; }

private:
    bool hosted() const { return parent != nullptr; }
    void fit_into_host();

    bool started = false;
    bool paused = false;
    std::unique_ptr<cl::app::loop_thread> loop;
    loop_factory make_loop;
};

// The window whose frame loop was last started.
main_window* app_window();

} // namespace app
} // namespace zor
