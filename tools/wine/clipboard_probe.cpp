// Prints what the clipboard and global memory calls return in the cases the platform's tests
// check: opening twice, setting without emptying, an opener without a window, reading while
// closed, and the lock counts of a moveable block. Run by run_clipboard_probe.sh under wine.
#include <windows.h>

#include <cstdio>

int main() {
    HWND a = CreateWindowA("STATIC", "a", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND b = CreateWindowA("STATIC", "b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    std::printf("close-unopened %d\n", CloseClipboard());
    std::printf("open-a %d\n", OpenClipboard(a));
    std::printf("open-a-again %d\n", OpenClipboard(a));
    std::printf("open-b-while-a %d\n", OpenClipboard(b));
    HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::printf("set-without-empty %d\n", SetClipboardData(CF_TEXT, m) != nullptr);
    int emptied = EmptyClipboard();
    std::printf("empty %d owner-is-a %d\n", emptied, GetClipboardOwner() == a);
    HGLOBAL t = GlobalAlloc(GMEM_MOVEABLE, 6);
    char* p = static_cast<char*>(GlobalLock(t));
    lstrcpyA(p, "hello");
    int again = GlobalLock(t) == p;
    std::printf("lock-again %d flags %u\n", again, GlobalFlags(t) & 0xFF);
    int u1 = GlobalUnlock(t), u2 = GlobalUnlock(t), u3 = GlobalUnlock(t);
    std::printf("unlock1 %d unlock2 %d unlock3 %d\n", u1, u2, u3);
    int set = SetClipboardData(CF_TEXT, t) == t;
    std::printf("set %d avail %d count %d\n", set, IsClipboardFormatAvailable(CF_TEXT), CountClipboardFormats());
    std::printf("close %d\n", CloseClipboard());
    std::printf("get-data-text %d\n", OpenClipboard(b) && lstrcmpA(static_cast<char*>(GlobalLock(GetClipboardData(CF_TEXT))), "hello") == 0);
    GlobalUnlock(GetClipboardData(CF_TEXT));
    CloseClipboard();
    std::printf("get-closed %d avail-closed %d\n", GetClipboardData(CF_TEXT) != nullptr, IsClipboardFormatAvailable(CF_TEXT));
    int openNull = OpenClipboard(nullptr);
    int emptyNull = EmptyClipboard();
    std::printf("open-null %d empty %d owner-null %d\n", openNull, emptyNull, GetClipboardOwner() == nullptr);
    HGLOBAL u = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::printf("set-ownerless %d\n", SetClipboardData(CF_TEXT, u) != nullptr);
    CloseClipboard();
    UINT f1 = RegisterClipboardFormatA("Brimlox Probe"), f2 = RegisterClipboardFormatA("BRIMLOX PROBE");
    std::printf("registered %d same %d\n", f1 >= 0xC000, f1 == f2);
    std::printf("zero-moveable-lock %d size %d\n", GlobalLock(GlobalAlloc(GMEM_MOVEABLE, 0)) != nullptr,
                (int)GlobalSize(GlobalAlloc(GMEM_MOVEABLE, 0)));
    std::printf("free-twice %d\n", [] { HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4); GlobalFree(h); return GlobalFree(h) == h; }());
    return 0;
}
