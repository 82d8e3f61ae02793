// Window words and longs: extra bytes, styles, ids, user data and the window procedure
// (subclassing), plus the 32-bit procedure tokens that SetWindowLongA trades in.
#include <cstring>
#include <vector>

#include "platform/user/nonclient.h"
#include "platform/user/user.h"
#include "platform/user/user_internal.h"

namespace brimlox::user {

namespace {
// Token layout: 0x7FFE0000 | index; far from any code address of a 64-bit process image.
constexpr std::uint32_t kTokenMark = 0x7FFE0000u;
std::vector<WNDPROC>& Tokens() {
    static std::vector<WNDPROC> tokens;
    return tokens;
}
}  // namespace

LONG WndProcToLong(WNDPROC proc) {
    if (!proc) return 0;
    auto& tokens = Tokens();
    for (std::size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i] == proc) return static_cast<LONG>(kTokenMark | i);
    tokens.push_back(proc);
    return static_cast<LONG>(kTokenMark | (tokens.size() - 1));
}

WNDPROC WndProcFromLong(LONG value) {
    auto v = static_cast<std::uint32_t>(value);
    if ((v & 0xFFFF0000u) != kTokenMark) return nullptr;
    std::uint32_t i = v & 0xFFFF;
    return i < Tokens().size() ? Tokens()[i] : nullptr;
}

WNDPROC ResolveWndProc(WNDPROC maybeToken) {
    auto raw = reinterpret_cast<std::uintptr_t>(maybeToken);
    if (raw <= 0xFFFFFFFFu && (raw & 0xFFFF0000u) == kTokenMark)
        return WndProcFromLong(static_cast<LONG>(static_cast<std::uint32_t>(raw)));
    return maybeToken;
}

namespace {

// Style changes that affect geometry or visibility go through the usual paths.
LONG_PTR SetStyle(WindowObject* w, LONG_PTR value) {
    const HWND handle = w->handle;
    DWORD old = w->style;
    DWORD next = static_cast<DWORD>(value);
    w->style = (next & ~WS_VISIBLE) | (old & WS_VISIBLE);
    BumpTreeGeneration();  // before ShowWindow maps anything with the new frame
    if ((next ^ old) & WS_VISIBLE) ShowWindow(w->handle, (next & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    BumpTreeGeneration();
    if (WindowObject* still = LookupWindow(handle)) RecalcFrame(still);
    if (WindowObject* still = LookupWindow(handle)) RetargetWindowDcs(still);  // the frame may have changed
    return static_cast<LONG_PTR>(old);
}

bool ExtraRange(const WindowObject* w, int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) + size <= w->extra.size();
}

LONG_PTR GetLongPtr(HWND hwnd, int index, bool tokenProc) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWL_WNDPROC:
            return tokenProc ? WndProcToLong(w->proc) : reinterpret_cast<LONG_PTR>(w->proc);
        case GWL_STYLE: return static_cast<LONG>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
        case GWL_USERDATA: return w->userData;
        case GWL_ID: return w->id;
        case GWL_HINSTANCE: return static_cast<LONG_PTR>(HandleValue(w->instance));
        case GWL_HWNDPARENT: return static_cast<LONG_PTR>(HandleValue(w->IsChild() ? w->parent : w->owner));
        default: break;
    }
    std::size_t size = tokenProc ? sizeof(LONG) : sizeof(LONG_PTR);
    if (!ExtraRange(w, index, size)) return 0;
    if (tokenProc) {
        LONG v;
        std::memcpy(&v, w->extra.data() + index, sizeof v);
        return v;
    }
    LONG_PTR v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
}

LONG_PTR SetLongPtr(HWND hwnd, int index, LONG_PTR value, bool tokenProc) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return 0;
    LONG_PTR old = GetLongPtr(hwnd, index, tokenProc);
    switch (index) {
        case GWL_WNDPROC: {
            WNDPROC proc = tokenProc ? WndProcFromLong(static_cast<LONG>(value))
                                     : ResolveWndProc(reinterpret_cast<WNDPROC>(value));
            if (!proc) return 0;  // an unknown token is refused, the window keeps its procedure
            w->proc = proc;
            return old;
        }
        case GWL_STYLE: return SetStyle(w, value);
        case GWL_EXSTYLE:
            w->exStyle = static_cast<DWORD>(value);
            BumpTreeGeneration();  // the frame, and with it every client origin, may change
            RecalcFrame(w);
            if (!(w = LookupWindow(hwnd))) return old;
            RetargetWindowDcs(w);
            return old;
        case GWL_USERDATA: w->userData = value; return old;
        case GWL_ID: w->id = value; return old;
        case GWL_HINSTANCE: w->instance = HandleFromValue<HINSTANCE>(static_cast<std::uint32_t>(value)); return old;
        default: break;
    }
    std::size_t size = tokenProc ? sizeof(LONG) : sizeof(LONG_PTR);
    if (!ExtraRange(w, index, size)) return 0;
    if (tokenProc) {
        auto v = static_cast<LONG>(value);
        std::memcpy(w->extra.data() + index, &v, sizeof v);
    } else {
        std::memcpy(w->extra.data() + index, &value, sizeof value);
    }
    return old;
}

}  // namespace
}  // namespace brimlox::user

using namespace brimlox::user;

LONG GetWindowLongA(HWND hwnd, int index) { return static_cast<LONG>(GetLongPtr(hwnd, index, true)); }
LONG SetWindowLongA(HWND hwnd, int index, LONG value) { return static_cast<LONG>(SetLongPtr(hwnd, index, value, true)); }
LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) { return GetLongPtr(hwnd, index, false); }
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) { return SetLongPtr(hwnd, index, value, false); }

WORD GetWindowWord(HWND hwnd, int index) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w) return 0;
    if (index == GWL_ID) return static_cast<WORD>(w->id);
    if (!ExtraRange(w, index, sizeof(WORD))) return 0;
    WORD v;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
}

WORD SetWindowWord(HWND hwnd, int index, WORD value) {
    WindowObject* w = LookupWindow(hwnd);
    if (!w || !ExtraRange(w, index, sizeof(WORD))) return 0;
    WORD old;
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC real = ResolveWndProc(proc);
    if (!real) return 0;
    return real(hwnd, msg, wParam, lParam);
}
