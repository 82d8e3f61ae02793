// FormPersistence: the form-persistence side of a docking control (DreamBar, SplitWindow).
// The control owns one and forwards PersistForm, RemovePersistence, RemovePersistenceIDE,
// RegistryLocation, FormRestored and its own Terminate to it.
//
// Life of a persisted form:
//   not established --PersistForm--> established (the layout is restored at once)
//   established --first Paint--> the splitters get their AutoAdjust values back
//   established --Resize--> the form record keeps the last normal placement and the state
//   established --QueryUnload--> the layout is collected in memory (a cancelled close loses
//                                nothing, since the store is not touched yet)
//   established --Unload--> the form is released
//   established --Terminate--> "Form" and the "Window"n entries are written together
//   established --RemovePersistence of its own form--> not established (nothing is written)
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/persistence/layout_restore.h"
#include "foundation/persistence/persist_records.h"

namespace brimlox::foundation {

class FormPersistence {
public:
    explicit FormPersistence(PersistServices services = DefaultPersistServices());
    ~FormPersistence();
    FormPersistence(const FormPersistence&) = delete;
    FormPersistence& operator=(const FormPersistence&) = delete;

    // Hooks the form, finds the application name and restores the saved layout. Does nothing
    // when persistence is already established. False when persistence could not be
    // established (no application name); FormRestored() tells whether a layout was applied.
    bool PersistForm(const std::shared_ptr<host::Form>& form, bool center = true);
    // Deletes the saved layout of one form, or of every form of the application when
    // `formName` is empty; for this control's own form persistence ends too. True when something
    // was deleted.
    bool RemovePersistence(const std::string& formName = "");
    // RemovePersistence, only while running inside the design environment; FormRestored
    // becomes true when it deleted something.
    void RemovePersistenceIDE(const std::string& formName = "");
    // Writes the collected layout; the owning control calls it from its Terminate.
    void Terminate();

    static const std::string& RegistryLocation();
    bool FormRestored() const { return formRestored_; }
    bool Established() const { return established_; }
    const std::string& FormName() const { return formName_; }
    const typPersistForm& FormRecord() const { return formRecord_; }
    const std::vector<typPersistControl>& ControlRecords() const { return controlRecords_; }
    const SavedAutoAdjust& Saved() const { return saved_; }

    // The owner's own reaction to the form's Resize, run after the form record is kept.
    std::function<void()> FormResized;

private:
    void Hook(const std::shared_ptr<host::Form>& form);
    void Release();
    void OnPaint();
    void OnResize();
    void OnQueryUnload();
    void RunFirstPaintStep();
    void CollectControls(const host::Form& form);
    void WriteLayout();

    PersistServices services_;
    std::weak_ptr<host::Form> form_;
    std::vector<int> connections_;
    std::string formName_;
    bool established_ = false;
    bool formRestored_ = false;
    bool firstPaintPending_ = false;
    bool collected_ = false;
    typPersistForm formRecord_;
    std::vector<typPersistControl> controlRecords_;  // Window1 is the first
    SavedAutoAdjust saved_;
};

}  // namespace brimlox::foundation
