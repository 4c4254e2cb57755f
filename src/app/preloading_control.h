#pragma once

#include "ui/i_control.h"
#include "utils/signal.h"

#include <string>
#include <vector>

namespace zor {
namespace app {

// Decodes a few large pictures into the image cache before the page takes input: one per drawn frame and
// at least 500 ms apart, so the first frames stay quick.
class preloading_control : public cl::ui::i_control {
public:
    static constexpr unsigned long spacing_ms = 500;

    ~preloading_control() override;

    utils::signal<utils::function0<void>> done;

    void set_keys(const std::vector<std::wstring>& k) { keys = k; }
    bool is_finished() const { return finished; }
    int loaded_count() const { return index; }

    bool is_visible() const override { return true; }
    void set_visible(bool) override {}
    platform::RECT get_rect() const override { return platform::RECT{}; }
    void set_rect(const platform::RECT&) override {}
    void update(unsigned long now_ms) override;
    void layout() override {}
    // A frame was drawn: the next picture may be decoded.
    void draw(cl::ui::i_graphics&, bool) override { may_load = true; }

private:
    bool finished = false;
    int index = 0;
    std::vector<std::wstring> keys;
    unsigned long last_time = 0;
    bool may_load = false;
    bool counted = false;
};

} // namespace app
} // namespace zor
