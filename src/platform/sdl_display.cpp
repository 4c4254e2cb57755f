#include "platform/sdl_display.h"

#include "platform/compositor.h"
#include "platform/input.h"
#include "platform/text.h"
#include "platform/types.h"
#include "platform/window_system.h"

#include <SDL.h>
#include <stdexcept>

namespace platform {

struct sdl_display::impl {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int width = 0;
    int height = 0;
    std::uint64_t shown_generation = 0;

    void make_texture() {
        if (texture)
            SDL_DestroyTexture(texture);
        width = get_system_metrics(SM_CXSCREEN);
        height = get_system_metrics(SM_CYSCREEN);
        texture =
            SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, width, height);
        if (!texture)
            throw std::runtime_error(std::string("SDL_CreateTexture: ") + SDL_GetError());
        shown_generation = 0;
    }
};

namespace {
int keypad_key(SDL_Keycode k) {
    switch (k) {
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_F1:
        return VK_APP2;
    case SDLK_F2:
        return VK_APP3;
    default:
        return 0;
    }
}
} // namespace

sdl_display::sdl_display(const std::string& title) : d(new impl) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw std::runtime_error(std::string("SDL_Init: ") + SDL_GetError());
    int w = get_system_metrics(SM_CXSCREEN), h = get_system_metrics(SM_CYSCREEN);
    d->window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, 0);
    if (!d->window) {
        std::string why = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw std::runtime_error("SDL_CreateWindow: " + why);
    }
    d->renderer = SDL_CreateRenderer(d->window, -1, 0);
    if (!d->renderer) {
        std::string why = SDL_GetError();
        SDL_DestroyWindow(d->window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw std::runtime_error("SDL_CreateRenderer: " + why);
    }
    d->make_texture();
    SDL_StartTextInput();
}

sdl_display::~sdl_display() {
    SDL_StopTextInput();
    if (d->texture)
        SDL_DestroyTexture(d->texture);
    SDL_DestroyRenderer(d->renderer);
    SDL_DestroyWindow(d->window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::vector<host_event> sdl_display::pump() {
    std::vector<host_event> events;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            events.push_back(host_event::quit);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT)
                pen_down(e.button.x, e.button.y);
            break;
        case SDL_MOUSEMOTION:
            if (e.motion.state & SDL_BUTTON_LMASK)
                pen_move(e.motion.x, e.motion.y);
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT)
                pen_up(e.button.x, e.button.y);
            break;
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_F5 && !e.key.repeat)
                events.push_back(host_event::rotate);
            else if (e.key.keysym.sym == SDLK_BACKSPACE)
                text_input(L"\b");
            else if (int vk = keypad_key(e.key.keysym.sym))
                key_down(vk);
            break;
        case SDL_KEYUP:
            if (int vk = keypad_key(e.key.keysym.sym))
                key_up(vk);
            break;
        case SDL_TEXTINPUT:
            text_input(from_utf8(e.text.text));
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_MINIMIZED || e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
                events.push_back(host_event::deactivated);
            else if (e.window.event == SDL_WINDOWEVENT_RESTORED ||
                     e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
                events.push_back(host_event::activated);
            else if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
                d->shown_generation = 0;
            break;
        default:
            break;
        }
    }
    return events;
}

void sdl_display::present() {
    std::uint64_t generation = screen_generation();
    if (generation == d->shown_generation)
        return;
    d->shown_generation = generation;
    screen_image image = compose_screen();
    if (image.width != d->width || image.height != d->height)
        return; // the screen is being rotated; resize_to_screen follows
    SDL_UpdateTexture(d->texture, nullptr, image.pixels.data(), image.width * 2);
    SDL_RenderClear(d->renderer);
    SDL_RenderCopy(d->renderer, d->texture, nullptr, nullptr);
    SDL_RenderPresent(d->renderer);
}

void sdl_display::resize_to_screen() {
    SDL_SetWindowSize(d->window, get_system_metrics(SM_CXSCREEN), get_system_metrics(SM_CYSCREEN));
    d->make_texture();
}

} // namespace platform
