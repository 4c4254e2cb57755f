#include "pages/video/video_player_content.h"

namespace zor {

video_player_content::video_player_content(ui::command_bar* commands, const std::wstring& clip,
                                           platform::HWND owner, const platform::media_player::options& opts)
    : command_bar(commands), player(new cl::ui::video_player(owner, clip, opts)), file(clip) {
    if (command_bar) {
        command_bar->set_left_label(L"Play");
        command_bar->left_clicked.connect(
            utils::function1<void, std::wstring>(this, &video_player_content::on_command));
    }
}

video_player_content::~video_player_content() {
    player->set_visible(false);
    player->stop();
    player.reset();
}

void video_player_content::set_rect(const platform::RECT& r) {
    rect = r;
    player->set_rect(r);
}

void video_player_content::update(unsigned long now_ms) {
    player->update(now_ms);
    if (command_bar) {
        const wchar_t* label = player->state() == 2 ? L"Stop" : L"Play";
        if (command_bar->left_label() != label)
            command_bar->set_left_label(label);
    }
}

void video_player_content::draw(cl::ui::i_graphics& g, bool) {
    g.fill_rect(rect, 0x808080);
    player->draw(g, true);
    if (autoplay) {
        player->play();
        autoplay = false;
    }
}

void video_player_content::on_command(std::wstring label) {
    if (label == L"Play")
        player->play();
    else
        player->pause();
}

} // namespace zor
