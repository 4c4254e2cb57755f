// Loads the built panel library through its one exported lookup, as the home screen does.
#include "app/panel_abi.h"
#include "platform/debug_log.h"
#include "platform/host_switches.h"
#include "platform/panel_activity.h"
#include "platform/window_system.h"
#include "support/log_capture.h"
#include "support/window_fixture.h"

#include <algorithm>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <vector>

namespace {

using namespace platform;

class panel_library : public window_fixture {
protected:
    void SetUp() override {
        window_fixture::SetUp();
        set_work_area(RECT{0, 52, 480, 800});
        library = dlopen(ZOR_PANEL_DIR "/libzor_panel.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        lookup = reinterpret_cast<zor::abi::ordinal_lookup>(dlsym(library, zor::abi::ordinal_lookup_symbol));
        ASSERT_NE(lookup, nullptr);
        create = reinterpret_cast<zor::abi::create_panel>(lookup(240));
        destroy = reinterpret_cast<zor::abi::destroy_panel>(lookup(242));
        ASSERT_TRUE(create && destroy);

        register_window_class(L"HOME");
        host = create_window(0, L"HOME", L"home", WS_VISIBLE, 0, 0, 480, 800, nullptr, nullptr);
    }
    void TearDown() override {
        if (destroy)
            destroy();
        if (library)
            dlclose(library);
        window_fixture::TearDown();
    }
    LRESULT send(UINT msg) { return send_message(panel, msg, 0, 0); }

    void* library = nullptr;
    zor::abi::ordinal_lookup lookup = nullptr;
    zor::abi::create_panel create = nullptr;
    zor::abi::destroy_panel destroy = nullptr;
    HWND host = nullptr;
    HWND panel = nullptr;
};

TEST_F(panel_library, exports_the_five_ordinals_and_nothing_callable_for_241) {
    EXPECT_EQ(lookup(241), nullptr);
    auto not_impl = reinterpret_cast<zor::abi::not_implemented>(lookup(243));
    ASSERT_NE(not_impl, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(not_impl()), 0x80004001u);
    EXPECT_EQ(static_cast<std::uint32_t>(not_impl(1, nullptr, 3.5)), 0x80004001u);
    auto version = reinterpret_cast<zor::abi::panel_version>(lookup(244));
    DWORD out = 7;
    EXPECT_EQ(version(&out), 0);
    EXPECT_EQ(out, 100u);
}

TEST_F(panel_library, create_makes_one_child_window_and_destroy_twice_destroys_it_once) {
    std::size_t windows = top_level_windows().size();
    EXPECT_EQ(destroy(), 0); // before create: nothing
    EXPECT_EQ(top_level_windows().size(), windows);
    panel = create(nullptr, host);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(get_parent(panel), host);
    EXPECT_EQ(get_class_name(panel), L"QUELVO_APP_WND_CLASS");
    EXPECT_EQ(get_window_title(panel), L"Quelvo application main window");
    ASSERT_EQ(get_children(panel).size(), 1u);
    EXPECT_EQ(get_class_name(get_children(panel)[0]), L"EDIT");
    EXPECT_EQ(create(nullptr, host), panel); // the host calls 240 once; a repeat hands back the window
    EXPECT_EQ(get_children(host).size(), 1u);

    EXPECT_EQ(destroy(), 0);
    EXPECT_FALSE(is_window(panel));
    EXPECT_FALSE(is_class_registered(L"QUELVO_APP_WND_CLASS"));
    EXPECT_EQ(destroy(), 0);
    EXPECT_TRUE(is_window(host));
}

TEST_F(panel_library, the_host_messages_start_pause_resume_and_stop_the_loop) {
    log_capture trace;
    panel = create(nullptr, host);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(trace.count("+ cl::app::game_loop::run"), 0); // 240 starts nothing

    send(6026);
    ASSERT_TRUE(eventually([&] { return trace.count("- zor::app::zor_game_loop::init") == 1; }));
    EXPECT_EQ(get_window_rect(panel), (RECT{0, 52, 480, 852}));

    send(6026); // a second start resumes: no new loop
    send(6027);
    send(6027); // one pause only
    ASSERT_TRUE(eventually([&] { return trace.count("+ cl::app::game_loop::pause") == 1; }));
    send(6026);
    ASSERT_TRUE(eventually([&] { return trace.count("+ cl::app::game_loop::resume") == 1; }));
    EXPECT_EQ(trace.count("+ zor::app::main_window::pause_app"), 1);

    send(6025); // joins the loop thread before it returns
    EXPECT_EQ(trace.count("- cl::app::game_loop::run"), 1);
    EXPECT_EQ(trace.count("- zor::app::zor_game_loop::cleanup"), 1);
    send(6027); // nothing runs: nothing to pause
    EXPECT_EQ(trace.count("+ zor::app::main_window::pause_app"), 1);

    send(6026); // a new loop
    ASSERT_TRUE(eventually([&] { return trace.count("+ cl::app::game_loop::run") == 2; }));
    EXPECT_EQ(destroy(), 0); // destroying the window stops the loop
    EXPECT_EQ(trace.count("- cl::app::game_loop::run"), 2);
    EXPECT_EQ(trace.count("+ cl::app::game_loop::pause"), 1);
}

TEST_F(panel_library, the_frame_reaches_the_window_with_the_rate_overlay_when_switched_on) {
    auto lit_pixels = [](HWND h) {
        auto surface = get_window_surface(h);
        std::lock_guard<std::mutex> lock(surface->mutex());
        int n = 0;
        for (int y = 20; y < 40 && y < surface->height(); ++y)
            for (int x = 200; x < 280 && x < surface->width(); ++x)
                n += surface->pixels()[y * surface->width() + x] == 0xFFFF; // the white figures
        return n;
    };
    set_show_fps(true);
    panel = create(nullptr, host);
    send(6026);
    bool drawn = eventually([&] { return lit_pixels(panel) > 20; });
    send(6025);
    set_show_fps(false);
    EXPECT_TRUE(drawn);

    // Without the switch the loop draws no overlay.
    {
        auto surface = get_window_surface(panel);
        std::lock_guard<std::mutex> lock(surface->mutex());
        surface->fill(0);
    }
    send(6026);
    // More frames than the overlay needs to show: it is drawn from the first frame on.
    const std::uint64_t frames = frames_drawn();
    EXPECT_TRUE(eventually([&] { return frames_drawn() >= frames + 10; }));
    send(6025);
    EXPECT_EQ(lit_pixels(panel), 0);
}

} // namespace
