#include "apps/designer/clipboard_text.h"

#include <cstring>

#include "platform/user/clipboard.h"

namespace brimlox::designer {

namespace {

// A global block holding `text` and its terminator; nullptr without memory.
HGLOBAL TextBlock(std::string_view text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!mem) return nullptr;
    auto* p = static_cast<char*>(GlobalLock(mem));
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\0';
    GlobalUnlock(mem);
    return mem;
}

// The text of a block up to its terminator or its end, whichever comes first: a block another
// program put there need not be terminated.
std::string BlockText(HANDLE mem) {
    const auto* p = static_cast<const char*>(GlobalLock(mem));
    if (!p) return {};
    const std::size_t size = GlobalSize(mem);
    std::string text(p, strnlen(p, size));
    GlobalUnlock(mem);
    return text;
}

// Closes the clipboard when it goes out of scope.
struct OpenedClipboard {
    bool open;
    explicit OpenedClipboard(HWND owner) : open(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open) CloseClipboard();
    }
};

}  // namespace

UINT FragmentClipboardFormat() {
    static const UINT format = RegisterClipboardFormatA("Brimlox Form Fragment");
    return format;
}

bool PutFragmentOnClipboard(HWND owner, std::string_view fragment) {
    HGLOBAL text = TextBlock(fragment);
    HGLOBAL own = TextBlock(fragment);
    OpenedClipboard clipboard(owner);
    if (!text || !own || !clipboard.open) {
        if (text) GlobalFree(text);
        if (own) GlobalFree(own);
        return false;
    }
    EmptyClipboard();
    // Once set, a block is the clipboard's; only a refused one is freed here.
    if (!SetClipboardData(CF_TEXT, text)) GlobalFree(text);
    if (!SetClipboardData(FragmentClipboardFormat(), own)) GlobalFree(own);
    return IsClipboardFormatAvailable(FragmentClipboardFormat()) != FALSE;
}

std::optional<std::string> ClipboardText(HWND owner) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.open) return std::nullopt;
    HANDLE mem = GetClipboardData(FragmentClipboardFormat());
    if (!mem) mem = GetClipboardData(CF_TEXT);
    if (!mem) return std::nullopt;
    return BlockText(mem);
}

bool ClipboardHasFragment() { return IsClipboardFormatAvailable(FragmentClipboardFormat()) != FALSE; }

}  // namespace brimlox::designer
