#pragma once

#include "app/game_loop.h"

#include <memory>

namespace zor {
namespace app {

class main_window;

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
    void resume() override;

    bool is_portrait() const { return portrait; }
    int frames_drawn() const { return frame_count; }

private:
    // Lives for one component-model initialisation of the loop thread.
    struct com_marker {
        com_marker();
        ~com_marker();
    };

    main_window* window;
    std::unique_ptr<com_marker> com;
    int frame_count = 0;
    bool force_redraw = true;
    bool portrait = true;
};

} // namespace app
} // namespace zor
