#include "platform/user/clipboard.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "platform/user/user.h"

namespace {

constexpr UINT kFirstRegisteredFormat = 0xC000;
constexpr UINT kLastRegisteredFormat = 0xFFFF;

struct Clipboard {
    bool open = false;
    HWND opener = nullptr;  // the window that has it open (may be null)
    HWND owner = nullptr;   // the window that last emptied it
    std::vector<std::pair<UINT, HANDLE>> data;  // in the order the formats were set
    std::map<std::string, UINT> registered;     // by lower-case name
};

Clipboard& State() {
    static Clipboard clipboard;
    return clipboard;
}

void FreeData(Clipboard& c) {
    for (auto& [format, mem] : c.data) GlobalFree(mem);
    c.data.clear();
}

std::vector<std::pair<UINT, HANDLE>>::iterator FindFormat(Clipboard& c, UINT format) {
    return std::find_if(c.data.begin(), c.data.end(), [format](const auto& entry) { return entry.first == format; });
}

}  // namespace

WINBOOL OpenClipboard(HWND owner) {
    Clipboard& c = State();
    if (owner && !IsWindow(owner)) return FALSE;
    if (c.open && c.opener != owner) return FALSE;
    c.open = true;
    c.opener = owner;
    return TRUE;
}

WINBOOL CloseClipboard() {
    Clipboard& c = State();
    if (!c.open) return FALSE;
    c.open = false;
    c.opener = nullptr;
    return TRUE;
}

WINBOOL EmptyClipboard() {
    Clipboard& c = State();
    if (!c.open) return FALSE;
    const HWND previous = c.owner;
    FreeData(c);
    c.owner = c.opener;
    if (previous && IsWindow(previous)) SendMessageA(previous, WM_DESTROYCLIPBOARD, 0, 0);
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE mem) {
    Clipboard& c = State();
    // An opener without a window may set data too (Windows allows it, as wine shows, though
    // older documentation says otherwise); the clipboard then has no owner.
    if (!c.open || format == 0 || !mem) return nullptr;
    if (GlobalFlags(mem) == GMEM_INVALID_HANDLE) return nullptr;
    auto it = FindFormat(c, format);
    if (it != c.data.end()) {
        if (it->second != mem) GlobalFree(it->second);
        it->second = mem;
    } else {
        c.data.emplace_back(format, mem);
    }
    return mem;
}

HANDLE GetClipboardData(UINT format) {
    Clipboard& c = State();
    if (!c.open) return nullptr;
    auto it = FindFormat(c, format);
    return it == c.data.end() ? nullptr : it->second;
}

WINBOOL IsClipboardFormatAvailable(UINT format) {
    Clipboard& c = State();
    return FindFormat(c, format) != c.data.end() ? TRUE : FALSE;
}

int CountClipboardFormats() { return static_cast<int>(State().data.size()); }

UINT EnumClipboardFormats(UINT format) {
    Clipboard& c = State();
    if (!c.open || c.data.empty()) return 0;
    if (format == 0) return c.data.front().first;
    auto it = FindFormat(c, format);
    if (it == c.data.end() || ++it == c.data.end()) return 0;
    return it->first;
}

UINT RegisterClipboardFormatA(LPCSTR name) {
    if (!name || !*name) return 0;
    Clipboard& c = State();
    std::string key(name);
    for (char& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (auto it = c.registered.find(key); it != c.registered.end()) return it->second;
    const UINT next = kFirstRegisteredFormat + static_cast<UINT>(c.registered.size());
    if (next > kLastRegisteredFormat) return 0;
    c.registered.emplace(std::move(key), next);
    return next;
}

HWND GetClipboardOwner() {
    const HWND owner = State().owner;
    return owner && IsWindow(owner) ? owner : nullptr;
}

HWND GetOpenClipboardWindow() {
    const Clipboard& c = State();
    return c.open ? c.opener : nullptr;
}

namespace brimlox::user {

void ResetClipboard() {
    Clipboard& c = State();
    FreeData(c);
    c.open = false;
    c.opener = nullptr;
    c.owner = nullptr;
}

}  // namespace brimlox::user
