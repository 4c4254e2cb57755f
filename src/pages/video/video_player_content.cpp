#include "pages/video/video_player_content.h"

#include "model/model.h"
#include "net/async_job.h"

#include <boost/make_shared.hpp>

namespace zor {

video_player_content::video_player_content(ui::command_bar* commands, const std::wstring& clip,
                                           platform::HWND owner, const platform::media_player::options& opts)
    : command_bar(commands), player(new cl::ui::video_player(owner, clip, opts, loading_thread_runner())),
      file(clip) {
    if (command_bar) {
        command_bar->set_left_label(L"Play");
        command_bar->left_clicked.connect(
            utils::function1<void, std::wstring>(this, &video_player_content::on_command));
    }
}

// Opening a clip waits for the media framework's plug-ins: the loading thread does it. Without one (a page
// built alone) the clip opens at once.
cl::ui::video_player::job_runner video_player_content::loading_thread_runner() {
    if (!model::loading_manager())
        return cl::ui::video_player::job_runner();
    return
        [](std::function<void()> work) { model::load(boost::make_shared<cl::async_job>(std::move(work))); };
}

video_player_content::~video_player_content() {
    player->set_visible(false);
    player->stop();
    player.reset();
}

void video_player_content::set_rect(const platform::RECT& r) {
    rect = r;
    player->set_rect(r);
    dirty = true;
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
    dirty = false;
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
