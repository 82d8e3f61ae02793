// The layout restore routine that DreamBar and SplitWindow share: it puts a form back where the
// settings store says it was, then each of its controls, with the docking properties of the
// splitters and bars. Controls are reached late-bound with errors ignored, so a control that
// lacks a property is skipped for that step.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "foundation/persistence/persist_records.h"

namespace brimlox::host {
class Control;
class Form;
class SettingsStore;
}  // namespace brimlox::host

namespace brimlox::foundation {

// How persistence treats a control: splitters and bars carry docking properties.
enum class PersistKind { Other, SplitWindow, DreamBar };
using PersistClassifier = std::function<PersistKind(const host::Control&)>;

// The library's own classification: by type name "SplitWindow" or "DreamBar".
PersistKind ClassifyByTypeName(const host::Control& control);

// Where layouts are kept and how controls are classified. Hosts use the defaults; tests and
// tools pass a store of their own.
struct PersistServices {
    host::SettingsStore* store = nullptr;
    PersistClassifier classify = ClassifyByTypeName;
};
// The store at the user's default settings folder, shared by the whole process.
host::SettingsStore& ProcessSettingsStore();
PersistServices DefaultPersistServices();

// The AutoAdjust and AutoAdjustForm values of a form's splitters, held while a restore keeps
// both False (so the splitters do not re-arrange the form under it) until the form's first
// paint gives them back. Values belong to the control they were read from, so a control added
// or removed in between neither shifts nor overruns them.
class SavedAutoAdjust {
public:
    SavedAutoAdjust() = default;
    ~SavedAutoAdjust() { Forget(); }
    SavedAutoAdjust(const SavedAutoAdjust&) = delete;
    SavedAutoAdjust& operator=(const SavedAutoAdjust&) = delete;

    // Saves the values and sets both properties False, unless another restore of this form
    // still holds its values: those are the real ones, and this restore leaves them alone.
    void SaveAndSuspend(const std::shared_ptr<host::Form>& form, const PersistClassifier& classify);
    // Gives every saved control that is still alive its values back, then forgets them.
    void GiveBack();
    bool Pending() const { return !controls_.empty(); }

    // Collection order, index from 0.
    const std::vector<bool>& AutoAdjust() const { return autoAdjust_; }
    const std::vector<bool>& AutoAdjustForm() const { return autoAdjustForm_; }

private:
    void Forget();

    std::vector<bool> autoAdjust_;
    std::vector<bool> autoAdjustForm_;
    std::vector<std::weak_ptr<host::Control>> controls_;
    const host::Form* claimed_ = nullptr;
};

// Restores the layout stored under (app, formName): the form's placement into the form and
// `record`, then every control record. True when a valid "Form" entry was found and applied;
// without one the form is centred on the screen when `center` is set.
bool RestoreLayout(const std::shared_ptr<host::Form>& form, bool center, const std::string& app,
                   const std::string& formName, typPersistForm& record, SavedAutoAdjust& saved,
                   const PersistServices& services);

// The same from the section's keys and values as read from the store.
bool ApplyLayout(const std::shared_ptr<host::Form>& form, bool center,
                 const std::vector<std::pair<std::string, std::string>>& section, typPersistForm& record,
                 SavedAutoAdjust& saved, const PersistClassifier& classify);

// The form's window state and, in the normal state, its placement (a width or height of 0
// is not a placement worth keeping, so the record keeps the last good one).
void NoteFormPlacement(const host::Form& form, typPersistForm& record);

}  // namespace brimlox::foundation
