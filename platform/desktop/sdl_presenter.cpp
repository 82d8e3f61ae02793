#include "platform/desktop/sdl_presenter.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/gdi/png.h"
#include "platform/user/cursor.h"
#include "platform/user/user.h"

namespace brimlox::desktop {

bool DisplayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(name);
        if (v && *v) return true;
    }
    return false;
}

namespace {

// SDL key codes to Windows virtual keys; 0 for keys the platform does not know.
int VkFromSdl(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
    switch (k) {
        case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_HOME: return VK_HOME;
        case SDLK_END: return VK_END;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_INSERT: return VK_INSERT;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT: case SDLK_RALT: return VK_MENU;
        case SDLK_CAPSLOCK: return VK_CAPITAL;
        case SDLK_SEMICOLON: return 0xBA;
        case SDLK_EQUALS: return 0xBB;
        case SDLK_COMMA: return 0xBC;
        case SDLK_MINUS: return 0xBD;
        case SDLK_PERIOD: return 0xBE;
        case SDLK_SLASH: return 0xBF;
        default: return 0;
    }
}

}  // namespace

std::unique_ptr<SdlPresenter> SdlPresenter::Open(const std::string& title, std::string* error) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = std::string("SDL cannot start its video subsystem: ") + SDL_GetError();
        return nullptr;
    }
    // SDL falls back to its offscreen (or dummy) driver when no display answers. Those show
    // nothing, and a live run on them would wait for a window nobody can see or close.
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (driver == "offscreen" || driver == "dummy") {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (error) *error = "no display answers (SDL has only its " + driver + " video driver)";
        return nullptr;
    }
    std::unique_ptr<SdlPresenter> p(new SdlPresenter());
    const auto& s = Desktop::Instance().Settings();
    p->window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, s.width, s.height, 0);
    if (p->window_) p->renderer_ = SDL_CreateRenderer(p->window_, -1, SDL_RENDERER_SOFTWARE);
    // Screen pixels are B,G,R,X bytes: SDL's RGB888 on a little-endian machine.
    if (p->renderer_)
        p->texture_ = SDL_CreateTexture(p->renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, s.width, s.height);
    if (!p->texture_) {
        if (error) *error = std::string("SDL cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    p->Present();
    return p;
}

SdlPresenter::~SdlPresenter() {
    for (auto& [h, c] : cursors_) SDL_FreeCursor(c);
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlPresenter::Translate(const SDL_Event& e) {
    InputEvent in;
    in.timeMs = Desktop::Instance().Now();
    switch (e.type) {
        case SDL_MOUSEMOTION:
            in.type = InputType::MouseMove;
            in.x = e.motion.x;
            in.y = e.motion.y;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            // The press position first, in case no motion event told it.
            in.type = InputType::MouseMove;
            in.x = e.button.x;
            in.y = e.button.y;
            pending_.push_back(in);
            in.type = e.type == SDL_MOUSEBUTTONDOWN ? InputType::ButtonDown : InputType::ButtonUp;
            in.button = e.button.button == SDL_BUTTON_RIGHT    ? MouseButton::Right
                        : e.button.button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                                               : MouseButton::Left;
            break;
        case SDL_MOUSEWHEEL:
            in.type = InputType::Wheel;
            in.x = 120 * e.wheel.y;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            in.vk = VkFromSdl(e.key.keysym.sym);
            if (!in.vk) return;
            in.type = e.type == SDL_KEYDOWN ? InputType::KeyDown : InputType::KeyUp;
            in.extended = e.key.keysym.sym == SDLK_RCTRL || e.key.keysym.sym == SDLK_RALT;
            break;
        case SDL_QUIT: in.type = InputType::Quit; break;
        default: return;
    }
    pending_.push_back(in);
}

void SdlPresenter::Pump() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e);
}

std::optional<std::uint64_t> SdlPresenter::NextTime() {
    Pump();
    if (pending_.empty()) return std::nullopt;
    return pending_.front().timeMs;
}

std::optional<InputEvent> SdlPresenter::TakeDue(std::uint64_t now) {
    Pump();
    if (pending_.empty() || pending_.front().timeMs > now) return std::nullopt;
    InputEvent e = pending_.front();
    pending_.pop_front();
    return e;
}

void SdlPresenter::Wait(std::uint64_t timeoutMs) {
    Present();
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, static_cast<int>(std::min<std::uint64_t>(timeoutMs, 1000)))) Translate(e);
    Pump();
}

void SdlPresenter::UpdateCursor() {
    HCURSOR current = GetCursor();
    if (current == shownCursor_) return;
    shownCursor_ = current;
    SDL_Cursor*& cursor = cursors_[current];
    if (!cursor) {
        user::CursorPixels px = user::CursorImage(current);
        if (px.width == 0) return;
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(px.argb.data(), px.width, px.height, 32, px.width * 4,
                                                            SDL_PIXELFORMAT_ARGB8888);
        if (!s) return;
        cursor = SDL_CreateColorCursor(s, px.hotspot.x, px.hotspot.y);
        SDL_FreeSurface(s);
    }
    if (cursor) SDL_SetCursor(cursor);
}

void SdlPresenter::Present() {
    UpdateCursor();
    Desktop& d = Desktop::Instance();
    if (d.FrameSerial() == shownSerial_) return;
    shownSerial_ = d.FrameSerial();
    const gdi::Surface& screen = d.Screen();
    SDL_UpdateTexture(texture_, nullptr, screen.Bits(), screen.Stride());
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

bool SdlPresenter::SaveWindowPng(const std::string& path, std::string* error) {
    int w = 0;
    int h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    auto shot = gdi::Surface::Create(w, h, gdi::PixelFormat::Bgrx32);
    // Draw the last frame again: some renderers keep nothing readable after presenting.
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    if (!shot || SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB888, shot->Bits(), shot->Stride()) != 0) {
        if (error) *error = std::string("SDL cannot read the window back: ") + SDL_GetError();
        return false;
    }
    SDL_RenderPresent(renderer_);
    return gdi::WriteSurfacePng(*shot, path, error);
}

}  // namespace brimlox::desktop
