// Process-wide state of form layout persistence, shared by every control that persists a form:
// the application name the layouts are stored under, the layout-restore flag, and which forms
// have docking-control values held back by a restore until their first paint.
#pragma once

#include <memory>
#include <string>

namespace brimlox::host {
class Form;
}

namespace brimlox::foundation {

// The application name of the settings store; empty until a PersistForm has found it. The
// first PersistForm in the process decides it for all forms.
const std::string& RegistryLocation();
// Sets the application name (a host that names its application itself, or a test).
void SetRegistryLocation(std::string location);

// True while a layout restore runs: form and control handlers skip their own adjustments then.
bool LayoutRestoring();

// Sets the layout-restore flag for its lifetime, so the flag is cleared on every way out of a
// restore, an exception included. Scopes nest.
class LayoutRestoreScope {
public:
    LayoutRestoreScope();
    ~LayoutRestoreScope();
    LayoutRestoreScope(const LayoutRestoreScope&) = delete;
    LayoutRestoreScope& operator=(const LayoutRestoreScope&) = delete;
};

// Marks a form as having AutoAdjust values held by one restore. While one is held, another
// restore of the same form must not save the values (it would save the temporary False ones).
// Returns false when the form is already claimed.
bool ClaimAutoAdjust(const std::shared_ptr<host::Form>& form);
void ReleaseAutoAdjust(const host::Form* form);
bool AutoAdjustClaimed(const host::Form* form);

}  // namespace brimlox::foundation
