// Fuzzes Shell_NotifyIconA with arbitrary records: any cbSize, flags, handles, unterminated
// tooltips and message numbers must be refused or applied without a crash, and every icon
// copy the shell made must be gone once the window it belongs to is destroyed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/shell/notify_area.h"
#include "platform/user/user.h"

namespace {

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

HWND MakeWindow() {
    const char* cls = brimlox::user::EnsureWindowClass("FuzzTrayOwner", Proc, 0);
    return CreateWindowExA(0, cls, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

HICON MakeIcon() {
    HBITMAP color = CreateBitmap(16, 16, 1, 32, nullptr);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO ii;
    ii.hbmColor = color;
    ii.hbmMask = mask;
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HWND window = MakeWindow();
    HICON icon = MakeIcon();
    std::size_t before = brimlox::user::LiveIconCount() - 1;
    // Each step: one byte of message, one byte saying which handles to make real, 88 record bytes.
    while (size >= 2 + sizeof(NOTIFYICONDATAA)) {
        DWORD message = data[0] % 4;
        std::uint8_t real = data[1];
        NOTIFYICONDATAA record;
        std::memcpy(&record, data + 2, sizeof record);
        if (real & 1) record.hWnd = HandleValue(window);
        if (real & 2) record.hIcon = HandleValue(icon);
        if (real & 4) record.cbSize = sizeof record;
        Shell_NotifyIconA(message, &record);
        data += 2 + sizeof record;
        size -= 2 + sizeof record;
    }
    DestroyIcon(icon);
    DestroyWindow(window);
    if (!brimlox::shell::NotifyArea::Instance().Entries().empty() || brimlox::user::LiveIconCount() != before) std::abort();
    return 0;
}
