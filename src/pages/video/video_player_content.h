#pragma once

#include "chrome/command_bar.h"
#include "content/i_page_content.h"
#include "ui/video_player.h"
#include "utils/trackable.h"

#include <memory>
#include <string>

namespace zor {

// The video page: one clip in a player, started the first time the page is drawn. The command bar's left
// button reads "Play" while the clip is stopped or paused and "Stop" while it runs; "Stop" pauses. While
// the panel is paused the clip holds still, and plays on when the panel returns.
class video_player_content : public i_page_content, public utils::trackable {
public:
    video_player_content(ui::command_bar* commands, const std::wstring& file, platform::HWND owner,
                         const platform::media_player::options& opts = platform::media_player::options());
    ~video_player_content() override;

    bool is_loaded() const override { return loaded; }
    bool is_failed() const override { return false; }
    std::wstring page_name() const override { return L"video_player"; }
    std::wstring title() const override { return L"Video"; }
    std::wstring name() const override { return L"video"; }
    // The clip comes back with the page.
    content_state get_state() const override { return content_state(page_name(), name(), file); }
    platform::COLORREF color() const override { return 0; }

    void set_rect(const platform::RECT& r) override;
    void update(unsigned long now_ms) override;
    void layout() override { player->layout(); }
    // Drawn again when the player shows something new (its times, its bar), not at every frame.
    bool is_dirty() const override { return dirty || player->is_dirty(); }
    void draw(cl::ui::i_graphics& g, bool force) override;
    void scroll_y(int) override {}
    void panel_paused() override { player->suspend(); }
    void panel_resumed() override { player->resume(); }

    cl::ui::video_player& get_player() { return *player; }

private:
    static cl::ui::video_player::job_runner loading_thread_runner();
    void on_command(std::wstring label);

    bool loaded = true;
    ui::command_bar* command_bar;
    std::unique_ptr<cl::ui::video_player> player;
    std::wstring file;
    bool autoplay = true;
};

} // namespace zor
