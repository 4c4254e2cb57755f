#pragma once

// The panel as the frame loop has it, with the installed pictures and configuration, preloaded: for the
// benchmarks that time frames of whole pages.
#include "app/controller.h"
#include "bench_window.h"
#include "model/config.h"
#include "model/model.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "ui/graphics.h"
#include "ui/resources.h"

struct bench_panel {
    bench_window window{748};
    std::unique_ptr<zor::app::controller> control;
    boost::shared_ptr<cl::ui::i_graphics> g;
    // Frame times are the tick count, as the frame loop's are: the loading thread stamps what it loads with
    // it, and a frame clock running ahead of it (frames here come far faster than every 25 ms) would find
    // every failed load outdated at once and ask for it again at every frame.
    unsigned long now = platform::tick_count();

    bench_panel() {
        const std::wstring folder = platform::from_utf8(ZOR_PANEL_DIR);
        cl::ui::resources::load(folder);
        cl::ui::resources::set_portrait(true);
        cl::ui::create_graphics(window);
        g = cl::ui::get_graphics();
        zor::config::init(folder);
        zor::model::init();
        control.reset(new zor::app::controller);
        control->init();
        control->set_rect(platform::RECT{0, 0, 480, 748});
        control->layout();
        while (!control->current_page().preloading().is_finished())
            frame(false);
    }
    ~bench_panel() {
        control.reset();
        zor::model::done();
        g.reset();
        cl::ui::destroy_graphics();
        zor::config::reset();
        platform::reset_window_system();
    }
    void frame(bool force) {
        now = platform::tick_count();
        control->update(now);
        g->begin_frame();
        control->draw(*g, force);
        g->end_frame(true);
    }
};
