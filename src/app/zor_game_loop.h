#pragma once

#include "loop/game_loop.h"
#include "ui/i_graphics.h"

#include <boost/shared_ptr.hpp>

#include <memory>
#include <string>

namespace zor {
namespace app {

class main_window;
class controller;

// The application's frame loop: sets up the component-model marker, the graphics back-end, the model
// root and the controller on the loop thread, forwards input to the controller and draws it.
class zor_game_loop : public cl::app::game_loop {
public:
    explicit zor_game_loop(main_window& window);
    ~zor_game_loop() override;

    void on_event(const cl::app::event& e) override;
    void init() override;
    void cleanup() override;
    void draw() override;
    void update(unsigned long now_ms) override;
    void pause() override;
    void resume() override;

private:
    // Lives for one component-model initialisation of the loop thread.
    struct com_marker {
        com_marker();
        ~com_marker();
    };

    // Tells the host which page is shown, for its frame statistics.
    void publish_page();

    main_window* window;
    boost::shared_ptr<cl::ui::i_graphics> graphics;
    std::unique_ptr<controller> control;
    std::unique_ptr<com_marker> com;
    int frame_count = 0;
    bool force_redraw = true;
    std::wstring shown_page;
};

} // namespace app
} // namespace zor
