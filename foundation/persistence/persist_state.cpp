#include "foundation/persistence/persist_state.h"

#include <algorithm>
#include <vector>

#include "platform/host/form.h"

namespace brimlox::foundation {

namespace {

struct PersistState {
    std::string registryLocation;
    int restoreDepth = 0;
    std::vector<std::weak_ptr<host::Form>> claimed;
};

PersistState& State() {
    static PersistState state;
    return state;
}

// Forms that are gone release their claims by themselves.
void DropExpiredClaims() {
    std::erase_if(State().claimed, [](const auto& w) { return w.expired(); });
}

}  // namespace

const std::string& RegistryLocation() { return State().registryLocation; }
void SetRegistryLocation(std::string location) { State().registryLocation = std::move(location); }

bool LayoutRestoring() { return State().restoreDepth > 0; }
LayoutRestoreScope::LayoutRestoreScope() { ++State().restoreDepth; }
LayoutRestoreScope::~LayoutRestoreScope() { --State().restoreDepth; }

bool ClaimAutoAdjust(const std::shared_ptr<host::Form>& form) {
    if (!form || AutoAdjustClaimed(form.get())) return false;
    State().claimed.push_back(form);
    return true;
}

void ReleaseAutoAdjust(const host::Form* form) {
    std::erase_if(State().claimed, [&](const auto& w) { return w.expired() || w.lock().get() == form; });
}

bool AutoAdjustClaimed(const host::Form* form) {
    DropExpiredClaims();
    return std::any_of(State().claimed.begin(), State().claimed.end(),
                       [&](const auto& w) { return w.lock().get() == form; });
}

}  // namespace brimlox::foundation
