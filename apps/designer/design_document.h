// DesignDocument: one form being edited in the designer. It owns the form (hosted in design
// mode), the file it belongs to, the selection, and the history of changes. Every change the
// designer makes ends in one Commit, which records the form's state as one undo step; Undo and
// Redo put a recorded state back by rebuilding the controls in the same form (same window), so
// the design window stays where it is. Views (the design surface, the property grid) keep no
// control pointers across a rebuild: they listen and read the selection again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/host/form.h"
#include "platform/host/property_bag.h"
#include "platform/host/variant.h"
#include "platform/user/winuser.h"

namespace brimlox::designer {

class DesignDocument {
public:
    // The most undo steps kept; older ones are forgotten first.
    static constexpr std::size_t kMaxUndoSteps = 200;

    // Opens `path` in design mode. A file that does not exist gives a new empty form named
    // after the file; a file with unknown types or bad values opens with those records or
    // values left out and each problem listed in Problems(), worded as `brimlox check` words
    // them ("FILE: path: problem (what was left out)", then the bag warnings as
    // "warning: FILE: path: problem"). Throws host::FormFileError only when nothing of the
    // file can be read (not JSON, not a form, more than 100 problems).
    static std::unique_ptr<DesignDocument> Open(const std::string& path);
    // The same from text; `source` names it in problems.
    static std::unique_ptr<DesignDocument> FromText(std::string_view text, const std::string& source);
    ~DesignDocument();
    DesignDocument(const DesignDocument&) = delete;
    DesignDocument& operator=(const DesignDocument&) = delete;

    host::Form& Form() { return *form_; }
    const std::shared_ptr<host::Form>& FormPtr() const { return form_; }
    const std::string& Path() const { return path_; }
    const std::vector<std::string>& Problems() const { return problems_; }

    // --- selection -------------------------------------------------------------------------
    // The selected controls, in the order they were selected; empty when the form itself is
    // selected.
    const std::vector<std::shared_ptr<host::Control>>& Selection() const { return selection_; }
    void Select(std::vector<std::shared_ptr<host::Control>> controls);
    // Listeners run after the selection changed and after every rebuild (undo, redo), when
    // the selection was re-read by name from the rebuilt controls.
    using Listener = std::function<void()>;
    std::size_t AddSelectionListener(Listener listener);
    std::size_t AddRebuildListener(Listener listener);
    // Listeners run when Modified() turns true or false.
    std::size_t AddModifiedListener(Listener listener);
    void RemoveListener(std::size_t id);

    // --- history ---------------------------------------------------------------------------
    // Records the form's present state as one step named `what` ("Move", "Size", "Caption",
    // "Paste" ...): undoing it returns to the state of the previous Commit. Drops the redo
    // steps. Marks the document modified.
    void Commit(std::string what);
    bool CanUndo() const;
    bool CanRedo() const;
    std::string UndoName() const;  // the step Undo would take back, "" for none
    std::string RedoName() const;
    void Undo();
    void Redo();

    // --- edits (each is one Commit) --------------------------------------------------------
    // A new control of a registered type at `twips` (left, top, right, bottom, relative to the
    // container's client area) inside `container` (nullptr: the form), with the host's next
    // free name; InitProperties runs. It becomes the selection.
    std::shared_ptr<host::Control> Place(const std::string& typeName, host::Control* container, RECT twips);
    // Sets one property late-bound on every control given (or on the form when `controls` is
    // empty). If any of them refuses the value, every one is put back as it was and the host's
    // error is rethrown; nothing is committed.
    void SetProperty(std::span<const std::shared_ptr<host::Control>> controls, const std::string& property,
                     const host::Variant& value);
    // Removes the controls (and what they contain); the selection becomes the form.
    void Delete(std::span<const std::shared_ptr<host::Control>> controls);
    // Brings the controls to the front of their containers' z-order, or sends them to the back.
    void ZOrder(std::span<const std::shared_ptr<host::Control>> controls, bool toBack);

    // --- clipboard fragments ---------------------------------------------------------------
    // The controls (with what they contain) as a form-file fragment: the text Copy puts on the
    // clipboard.
    std::string CopyText(std::span<const std::shared_ptr<host::Control>> controls);
    // Adds the controls of a fragment inside `container` (nullptr: the form); names taken
    // already get the next free ones. The pasted controls become the selection. Text that is
    // not a fragment is refused with host::FormFileError naming what is wrong, and nothing
    // changes; so is a `container` that is not a container control of the form (with
    // host::HostError 380). The pasted controls keep their positions.
    std::vector<std::shared_ptr<host::Control>> Paste(std::string_view text, host::Control* container);

    // --- file ------------------------------------------------------------------------------
    bool Modified() const { return modified_; }
    // Writes the form file atomically; the document is then unmodified.
    void Save();
    void SaveAs(const std::string& path);
    // The form file's text as Save would write it.
    std::string Text();

private:
    DesignDocument(std::shared_ptr<host::Form> form, std::string path, std::vector<std::string> problems);
    void Rebuild(const host::OrderedJson& state);
    void NotifySelection();
    void NotifyRebuild();
    void GoToStep();
    void UpdateModified();
    void PutBack(const std::vector<std::pair<host::Dispatch*, host::Variant>>& old, const std::string& property,
                 const host::OrderedJson& before);

    struct Step {
        std::string what;
        host::OrderedJson state;  // the form after the step
    };

    std::shared_ptr<host::Form> form_;
    std::string path_;
    std::vector<std::string> problems_;
    std::vector<std::shared_ptr<host::Control>> selection_;
    std::vector<Step> steps_;    // steps_[0] is the state the document opened with
    std::size_t current_ = 0;    // the step the form shows now
    std::size_t savedStep_ = 0;  // the step last saved (or opened)
    bool modified_ = false;
    bool uncommitted_ = false;  // a control changed after the last Commit
    bool rebuilding_ = false;   // the form's controls are being made again
    std::size_t changeListener_ = 0;
    std::vector<std::pair<std::size_t, Listener>> selectionListeners_;
    std::vector<std::pair<std::size_t, Listener>> rebuildListeners_;
    std::vector<std::pair<std::size_t, Listener>> modifiedListeners_;
    std::size_t nextListenerId_ = 1;
};

}  // namespace brimlox::designer
