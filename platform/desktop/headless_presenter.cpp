#include "platform/desktop/headless_presenter.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/desktop/desktop.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/png.h"
#include "platform/user/cursor.h"
#include "platform/user/user.h"

namespace brimlox::desktop {

HeadlessPresenter::HeadlessPresenter(std::string outputDir) : outputDir_(std::move(outputDir)) {
    Desktop::Instance().SetScreenshotHandler([this](const std::string& name) {
        std::error_code ec;
        std::filesystem::create_directories(outputDir_, ec);
        std::string file = name.ends_with(".png") ? name : name + ".png";
        if (WriteScreen((std::filesystem::path(outputDir_) / file).string(), true)) ++screenshots_;
    });
}

HeadlessPresenter::~HeadlessPresenter() { Desktop::Instance().SetScreenshotHandler(nullptr); }

bool HeadlessPresenter::WriteScreen(const std::string& path, bool withCursor, std::string* error) {
    gdi::Surface& screen = Desktop::Instance().Screen();
    if (!withCursor || !GetCursor()) return gdi::WriteSurfacePng(screen, path, error);
    // The pointer goes on a copy, so the screen itself never holds it.
    auto copy = gdi::Surface::Create(screen.Width(), screen.Height(), gdi::PixelFormat::Bgrx32);
    if (!copy) {
        if (error) *error = "no memory for a copy of the screen";
        return false;
    }
    std::memcpy(copy->Bits(), screen.Bits(), screen.ByteSize());
    auto* icon = user::UserHandleTable::Instance().Get<user::IconObject>(GetCursor());
    POINT p;
    GetCursorPos(&p);
    if (icon) user::DrawIconOnSurface(*icon, *copy, POINT{p.x - icon->hotspot.x, p.y - icon->hotspot.y}, copy->Bounds());
    return gdi::WriteSurfacePng(*copy, path, error);
}

bool HeadlessPresenter::WriteWindow(HWND hwnd, const std::string& path, std::string* error, bool withFrame) {
    RECT r;
    if (!GetWindowRect(hwnd, &r)) {
        if (error) *error = "not a window";
        return false;
    }
    if (!withFrame) {
        POINT corner{0, 0};
        GetClientRect(hwnd, &r);
        ClientToScreen(hwnd, &corner);
        OffsetRect(&r, corner.x, corner.y);
    }
    gdi::Surface& screen = Desktop::Instance().Screen();
    RECT bounds = screen.Bounds();
    if (!IntersectRect(&r, &r, &bounds)) {
        if (error) *error = "the window is off the screen";
        return false;
    }
    auto part = gdi::Surface::Create(r.right - r.left, r.bottom - r.top, gdi::PixelFormat::Bgrx32);
    if (!part) {
        if (error) *error = "no memory for a copy of the window";
        return false;
    }
    for (int y = r.top; y < r.bottom; ++y)
        std::memcpy(part->Row32(y - r.top), screen.Row32(y) + r.left, static_cast<std::size_t>(r.right - r.left) * 4);
    return gdi::WriteSurfacePng(*part, path, error);
}

}  // namespace brimlox::desktop
