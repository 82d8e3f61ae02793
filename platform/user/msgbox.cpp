// MessageBoxA and the log of message boxes.
#include "platform/user/msgbox.h"

#include <cstring>

#include "platform/desktop/desktop.h"
#include "platform/user/user.h"

namespace brimlox::user {

namespace {

std::vector<MessageBoxRecord>& Log() {
    static std::vector<MessageBoxRecord> log;
    return log;
}

// Texts longer than any screen can show are cut, so a runaway string cannot exhaust memory.
constexpr std::size_t kMaxTextLength = 64 * 1024;

std::string Bounded(LPCSTR s) { return s ? std::string(s, strnlen(s, kMaxTextLength)) : std::string(); }

}  // namespace

const std::vector<MessageBoxRecord>& MessageBoxLog() { return Log(); }
void ClearMessageBoxLog() { Log().clear(); }

std::string MessageBoxIconName(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONEXCLAMATION: return "exclamation";
        case MB_ICONASTERISK: return "information";
        case MB_ICONHAND: return "stop";
        case MB_ICONQUESTION: return "question";
        default: return "";
    }
}

}  // namespace brimlox::user

using namespace brimlox::user;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    MessageBoxRecord record;
    record.owner = owner;
    record.text = Bounded(text);
    // Windows titles a box without a caption "Error".
    record.caption = caption ? Bounded(caption) : std::string("Error");
    record.type = type;
    record.icon = MessageBoxIconName(type);
    if (owner && !IsWindow(owner)) owner = nullptr;
    if (brimlox::desktop::Desktop::Instance().Settings().headlessDialogs) {
        record.answer = IDOK;
    } else {
        record.shown = true;
        record.answer = RunMessageBoxWindow(owner, record.text, record.caption, type);
    }
    Log().push_back(record);
    return record.answer;
}
