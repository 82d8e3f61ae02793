// The designer's document: opening (tolerantly), the history of whole-form snapshots, the edits
// that each end in one Commit, clipboard fragments and saving.
#include "apps/designer/design_document.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "apps/designer/fragment.h"
#include "apps/designer/tolerant_load.h"
#include "platform/host/form_file.h"
#include "platform/host/host_error.h"
#include "platform/host/type_info.h"

namespace brimlox::designer {

namespace {

constexpr std::size_t kNoStep = std::numeric_limits<std::size_t>::max();

// A control as a rebuild can find it again: its name and index.
struct ControlKey {
    std::string name;
    std::int16_t index = -1;
};

std::vector<ControlKey> KeysOf(const std::vector<std::shared_ptr<host::Control>>& controls) {
    std::vector<ControlKey> keys;
    for (const auto& c : controls) keys.push_back({c->Name(), c->Index()});
    return keys;
}

std::vector<std::shared_ptr<host::Control>> FindAll(const host::Form& form, const std::vector<ControlKey>& keys) {
    std::vector<std::shared_ptr<host::Control>> found;
    for (const auto& key : keys)
        if (auto c = form.Find(key.name, key.index)) found.push_back(std::move(c));
    return found;
}

// Sets a property late-bound: objects (fonts, pictures) by Set, everything else by Let.
void PutProperty(host::Dispatch& target, const std::string& property, const host::Variant& value) {
    std::vector<host::Variant> args{value};
    host::Invoke(target, property, value.IsObject() ? host::InvokeKind::PropertySet : host::InvokeKind::PropertyLet, args);
}

// The controls given, in the form's z-order, each once.
std::vector<std::shared_ptr<host::Control>> InFormOrder(const host::Form& form,
                                                        std::span<const std::shared_ptr<host::Control>> controls) {
    std::vector<std::shared_ptr<host::Control>> ordered;
    for (const auto& c : form.Controls())
        if (std::any_of(controls.begin(), controls.end(), [&](const auto& g) { return g.get() == c.get(); }))
            ordered.push_back(c);
    return ordered;
}

}  // namespace

// --- opening ---------------------------------------------------------------------------------

std::unique_ptr<DesignDocument> DesignDocument::Open(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec)
        return std::unique_ptr<DesignDocument>(new DesignDocument(NewEmptyForm(path), path, {}));
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path, ec)) throw host::FormFileError(path, "cannot open the file");
    std::stringstream buffer;
    buffer << in.rdbuf();
    return FromText(buffer.str(), path);
}

std::unique_ptr<DesignDocument> DesignDocument::FromText(std::string_view text, const std::string& source) {
    TolerantLoad loaded = LoadTolerantly(ParseJsonText(text, source), source);
    return std::unique_ptr<DesignDocument>(new DesignDocument(std::move(loaded.form), source, std::move(loaded.problems)));
}

DesignDocument::DesignDocument(std::shared_ptr<host::Form> form, std::string path, std::vector<std::string> problems)
    : form_(std::move(form)), path_(std::move(path)), problems_(std::move(problems)) {
    steps_.push_back(Step{"", host::SaveFormJson(*form_)});
    form_->SetDirty(false);
    // A change made to a control outside the document's own edits (a property page, code)
    // makes the document modified until the next Commit records it.
    changeListener_ = form_->AddPropertyChangedListener([this](host::Control&, const std::string&) {
        if (rebuilding_) return;
        uncommitted_ = true;
        UpdateModified();
    });
}

DesignDocument::~DesignDocument() {
    form_->RemovePropertyChangedListener(changeListener_);
    form_->Discard();
}

// --- selection -------------------------------------------------------------------------------

void DesignDocument::Select(std::vector<std::shared_ptr<host::Control>> controls) {
    std::erase_if(controls, [&](const auto& c) { return !c || c->ParentForm() != form_.get(); });
    selection_ = std::move(controls);
    NotifySelection();
}

std::size_t DesignDocument::AddSelectionListener(Listener listener) {
    selectionListeners_.emplace_back(nextListenerId_, std::move(listener));
    return nextListenerId_++;
}

std::size_t DesignDocument::AddRebuildListener(Listener listener) {
    rebuildListeners_.emplace_back(nextListenerId_, std::move(listener));
    return nextListenerId_++;
}

std::size_t DesignDocument::AddModifiedListener(Listener listener) {
    modifiedListeners_.emplace_back(nextListenerId_, std::move(listener));
    return nextListenerId_++;
}

void DesignDocument::RemoveListener(std::size_t id) {
    std::erase_if(selectionListeners_, [id](const auto& entry) { return entry.first == id; });
    std::erase_if(rebuildListeners_, [id](const auto& entry) { return entry.first == id; });
    std::erase_if(modifiedListeners_, [id](const auto& entry) { return entry.first == id; });
}

void DesignDocument::NotifySelection() {
    // A copy: a listener may add or remove listeners while it runs.
    auto listeners = selectionListeners_;
    for (const auto& [id, listener] : listeners)
        if (listener) listener();
}

void DesignDocument::NotifyRebuild() {
    auto listeners = rebuildListeners_;
    for (const auto& [id, listener] : listeners)
        if (listener) listener();
}

// --- history ---------------------------------------------------------------------------------

void DesignDocument::Commit(std::string what) {
    steps_.resize(current_ + 1);  // the redo steps go
    if (savedStep_ != kNoStep && savedStep_ > current_) savedStep_ = kNoStep;
    steps_.push_back(Step{std::move(what), host::SaveFormJson(*form_)});
    current_ = steps_.size() - 1;
    // steps_[0] is the state before the oldest undo step kept.
    if (steps_.size() > kMaxUndoSteps + 1) {
        steps_.erase(steps_.begin());
        --current_;
        savedStep_ = savedStep_ == 0 || savedStep_ == kNoStep ? kNoStep : savedStep_ - 1;
    }
    uncommitted_ = false;
    form_->SetDirty(false);
    UpdateModified();
}

bool DesignDocument::CanUndo() const { return current_ > 0; }
bool DesignDocument::CanRedo() const { return current_ + 1 < steps_.size(); }
std::string DesignDocument::UndoName() const { return CanUndo() ? steps_[current_].what : ""; }
std::string DesignDocument::RedoName() const { return CanRedo() ? steps_[current_ + 1].what : ""; }

void DesignDocument::Undo() {
    if (!CanUndo()) return;
    --current_;
    GoToStep();
}

void DesignDocument::Redo() {
    if (!CanRedo()) return;
    ++current_;
    GoToStep();
}

void DesignDocument::GoToStep() {
    Rebuild(steps_[current_].state);
    uncommitted_ = false;
    UpdateModified();
}

void DesignDocument::UpdateModified() {
    const bool was = modified_;
    modified_ = uncommitted_ || current_ != savedStep_;
    if (modified_ == was) return;
    // A copy: a listener may remove itself.
    auto listeners = modifiedListeners_;
    for (auto& [id, listener] : listeners) listener();
}

// Puts `state` back into the same form and window, then finds the selection again by name.
void DesignDocument::Rebuild(const host::OrderedJson& state) {
    const auto keys = KeysOf(selection_);
    selection_.clear();
    rebuilding_ = true;
    try {
        host::ReloadFormJson(*form_, state, path_);
    } catch (...) {
        rebuilding_ = false;
        throw;
    }
    rebuilding_ = false;
    form_->SetDirty(false);
    selection_ = FindAll(*form_, keys);
    NotifyRebuild();
    NotifySelection();
}

// --- edits -----------------------------------------------------------------------------------

std::shared_ptr<host::Control> DesignDocument::Place(const std::string& typeName, host::Control* container, RECT twips) {
    auto control = form_->Add(typeName, "", container);
    try {
        control->Move(std::min(twips.left, twips.right), std::min(twips.top, twips.bottom),
                      std::abs(twips.right - twips.left), std::abs(twips.bottom - twips.top));
    } catch (...) {
        form_->Remove(*control);
        throw;
    }
    Commit("Place");
    Select({control});
    return control;
}

void DesignDocument::SetProperty(std::span<const std::shared_ptr<host::Control>> controls, const std::string& property,
                                 const host::Variant& value) {
    // A copy: `controls` may be the selection, which a rebuild replaces.
    const std::vector<std::shared_ptr<host::Control>> targets(controls.begin(), controls.end());
    const host::OrderedJson before = host::SaveFormJson(*form_);
    const bool wasUncommitted = uncommitted_;
    std::vector<std::pair<host::Dispatch*, host::Variant>> old;  // the values to put back
    // A property that cannot be read (write-only) is set all the same; putting it back is then
    // left to the rebuild.
    auto set = [&](host::Dispatch& target) {
        host::TryInvoke([&] { old.emplace_back(&target, host::GetProperty(target, property)); });
        PutProperty(target, property, value);
    };
    try {
        if (targets.empty()) set(*form_);
        for (const auto& c : targets) set(*c);
    } catch (const host::HostError&) {
        PutBack(old, property, before);
        uncommitted_ = wasUncommitted;
        UpdateModified();
        throw;
    }
    Commit(property);
}

// Sets back the values read before a refused edit; a change that setting back cannot undo (a
// control that adjusted others) is undone by rebuilding the state from before the edit.
void DesignDocument::PutBack(const std::vector<std::pair<host::Dispatch*, host::Variant>>& old,
                             const std::string& property, const host::OrderedJson& before) {
    for (auto it = old.rbegin(); it != old.rend(); ++it)
        host::TryInvoke([&] { PutProperty(*it->first, property, it->second); });
    if (host::SaveFormJson(*form_) != before) Rebuild(before);
}

void DesignDocument::Delete(std::span<const std::shared_ptr<host::Control>> controls) {
    const auto going = InFormOrder(*form_, controls);
    if (going.empty()) return;
    for (const auto& c : going)
        if (c->ParentForm() == form_.get() && !c->Terminated()) form_->Remove(*c);
    selection_.clear();
    Commit("Delete");
    NotifySelection();
}

void DesignDocument::ZOrder(std::span<const std::shared_ptr<host::Control>> controls, bool toBack) {
    auto ordered = InFormOrder(*form_, controls);
    if (ordered.empty()) return;
    // Front in z-order, back in reverse, so the controls keep their order among themselves.
    if (toBack) std::reverse(ordered.begin(), ordered.end());
    for (const auto& c : ordered) c->ZOrder(toBack ? 1 : 0);
    Commit(toBack ? "Send to Back" : "Bring to Front");
}

// --- clipboard fragments ---------------------------------------------------------------------

std::string DesignDocument::CopyText(std::span<const std::shared_ptr<host::Control>> controls) {
    return MakeFragment(*form_, controls).dump(2) + "\n";
}

std::vector<std::shared_ptr<host::Control>> DesignDocument::Paste(std::string_view text, host::Control* container) {
    host::OrderedJson records = ReadFragment(text, "clipboard");
    RenameForForm(records, *form_);
    PlaceInContainer(records, *form_, container);
    std::vector<ControlKey> pasted;
    for (const auto& record : records)
        pasted.push_back({record["name"].get<std::string>(), static_cast<std::int16_t>(record.value("index", -1))});
    const host::OrderedJson before = host::SaveFormJson(*form_);
    host::OrderedJson after = before;
    for (auto& record : records) after["controls"].push_back(std::move(record));
    try {
        Rebuild(after);
    } catch (const host::FormFileError&) {
        // A file refused as a whole changed nothing; one refused while loading left the form
        // without controls.
        if (host::SaveFormJson(*form_) != before) Rebuild(before);
        throw;
    }
    Commit("Paste");
    Select(FindAll(*form_, pasted));
    return selection_;
}

// --- file ------------------------------------------------------------------------------------

void DesignDocument::Save() { SaveAs(path_); }

void DesignDocument::SaveAs(const std::string& path) {
    host::SaveFormFile(*form_, path);
    path_ = path;
    savedStep_ = current_;
    // What was saved includes any change not committed yet; it is recorded now, so that
    // undoing past it works from the saved state.
    if (uncommitted_) {
        Commit("Change");
        savedStep_ = current_;
    }
    UpdateModified();
}

std::string DesignDocument::Text() { return host::SaveFormText(*form_); }

}  // namespace brimlox::designer
