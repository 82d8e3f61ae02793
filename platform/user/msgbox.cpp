// MessageBoxA and the log of message boxes.
#include "platform/user/msgbox.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "platform/desktop/desktop.h"
#include "platform/user/user.h"

namespace brimlox::user {

namespace {

std::vector<MessageBoxRecord>& Log() {
    static std::vector<MessageBoxRecord> log;
    return log;
}

std::deque<int>& QueuedAnswers() {
    static std::deque<int> queue;
    return queue;
}

bool Offers(UINT type, int answer) {
    auto buttons = MessageBoxButtons(type);
    return std::ranges::find(buttons, answer) != buttons.end();
}

// Texts longer than any screen can show are cut, so a runaway string cannot exhaust memory.
constexpr std::size_t kMaxTextLength = 64 * 1024;

std::string Bounded(LPCSTR s) { return s ? std::string(s, strnlen(s, kMaxTextLength)) : std::string(); }

// A headless box takes the next queued answer if its buttons offer it, else its default.
void AnswerHeadless(MessageBoxRecord& record) {
    record.answer = MessageBoxDefaultAnswer(record.type);
    if (QueuedAnswers().empty()) return;
    int queued = QueuedAnswers().front();
    QueuedAnswers().pop_front();
    if (Offers(record.type, queued)) {
        record.answer = queued;
    } else {
        record.refused = queued;
    }
}

}  // namespace

const std::vector<MessageBoxRecord>& MessageBoxLog() { return Log(); }
void ClearMessageBoxLog() {
    Log().clear();
    QueuedAnswers().clear();
}

void QueueMessageBoxAnswers(std::vector<int> answers) { QueuedAnswers().insert(QueuedAnswers().end(), answers.begin(), answers.end()); }

std::vector<int> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO: return {IDYES, IDNO};
        case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
        case MB_CANCELTRYCONTINUE: return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
        default: return {IDOK};
    }
}

std::size_t MessageBoxDefaultButton(UINT type) {
    std::size_t index = (type & MB_DEFMASK) >> 8;
    return index < MessageBoxButtons(type).size() ? index : 0;
}

int MessageBoxDefaultAnswer(UINT type) { return MessageBoxButtons(type)[MessageBoxDefaultButton(type)]; }

int MessageBoxEscapeAnswer(UINT type) {
    if (Offers(type, IDCANCEL)) return IDCANCEL;
    return MessageBoxButtons(type).size() == 1 ? IDOK : 0;
}

int MessageBoxCloseAnswer(UINT type) { return Offers(type, IDCANCEL) ? IDCANCEL : MessageBoxDefaultAnswer(type); }

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
        AnswerHeadless(record);
    } else {
        record.shown = true;
        record.answer = RunMessageBoxWindow(owner, record.text, record.caption, type);
    }
    Log().push_back(record);
    return record.answer;
}
