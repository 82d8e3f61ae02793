// SetWindowsHookExA, UnhookWindowsHookEx and CallNextHookEx for thread keyboard hooks.
#include "platform/user/hook.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/user/user.h"
#include "platform/user/user_handles.h"

namespace brimlox::user {

namespace {

// The hook object in the USER table. The chain keeps shared references, so a hook removed
// while its procedure runs (even by itself) stays valid until the call returns.
class HookObject : public UserObject {
public:
    static constexpr UserKind kKind = UserKind::Hook;
    HookObject() : UserObject(UserKind::Hook) {}
};

struct HookEntry {
    HHOOK handle = nullptr;
    int type = 0;
    HOOKPROC proc = nullptr;
    bool removed = false;
};

// Newest first, as Windows calls the most recently installed hook first.
std::vector<std::shared_ptr<HookEntry>>& Chain() {
    static std::vector<std::shared_ptr<HookEntry>> chain;
    return chain;
}

// The hook whose procedure is running, innermost call last; CallNextHookEx continues from it.
std::vector<std::shared_ptr<HookEntry>>& Running() {
    static std::vector<std::shared_ptr<HookEntry>> running;
    return running;
}

// Calls the first live hook of `type` after position `after` in a snapshot of the chain.
LRESULT CallFrom(const std::shared_ptr<HookEntry>& after, int type, int code, WPARAM w, LPARAM l) {
    std::vector<std::shared_ptr<HookEntry>> snapshot = Chain();
    auto it = snapshot.begin();
    if (after) {
        it = std::find(snapshot.begin(), snapshot.end(), after);
        if (it != snapshot.end()) ++it;
        else it = snapshot.end();
    }
    for (; it != snapshot.end(); ++it) {
        if ((*it)->removed || (*it)->type != type) continue;
        Running().push_back(*it);
        LRESULT r = (*it)->proc(code, w, l);
        Running().pop_back();
        if (Running().empty()) {
            auto& chain = Chain();
            chain.erase(std::remove_if(chain.begin(), chain.end(), [](const auto& e) { return e->removed; }),
                        chain.end());
        }
        return r;
    }
    return 0;
}

}  // namespace

bool RunKeyboardHooks(int code, WPARAM vk, LPARAM keyData) {
    return CallFrom(nullptr, WH_KEYBOARD, code, vk, keyData) != 0;
}

void ResetHooks() {
    for (auto& h : Chain())
        if (!h->removed) UserHandleTable::Instance().Remove(HandleValue(h->handle));
    Chain().clear();
}

std::size_t LiveHookCount() { return UserHandleTable::Instance().LiveCount(UserKind::Hook); }

}  // namespace brimlox::user

using namespace brimlox::user;

HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
    // Only thread keyboard hooks of the UI thread exist on this platform.
    if (idHook != WH_KEYBOARD || !proc || (threadId != 0 && threadId != GetCurrentThreadId())) return nullptr;
    std::uint32_t value = UserHandleTable::Instance().Add(std::make_unique<HookObject>());
    if (!value) return nullptr;
    auto entry = std::make_shared<HookEntry>();
    entry->handle = HandleFromValue<HHOOK>(value);
    entry->type = idHook;
    entry->proc = proc;
    Chain().insert(Chain().begin(), entry);
    return entry->handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    auto& chain = Chain();
    auto it = std::find_if(chain.begin(), chain.end(), [&](const auto& e) { return e->handle == hook; });
    if (it == chain.end()) return FALSE;
    if ((*it)->removed) return FALSE;
    (*it)->removed = true;
    UserHandleTable::Instance().Remove(HandleValue(hook));
    // While a hook runs, removed entries keep their place so the chain can continue past them.
    if (Running().empty()) chain.erase(it);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK, int code, WPARAM wParam, LPARAM lParam) {
    // Like Windows, the chain continues after the hook that is running, whatever handle is
    // passed, so a hook that has just removed itself still passes the key on correctly.
    if (Running().empty()) return 0;
    std::shared_ptr<HookEntry> current = Running().back();
    return CallFrom(current, current->type, code, wParam, lParam);
}
