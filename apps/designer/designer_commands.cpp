// The designer's commands on the active document: saving, history, clipboard, z-order,
// running the form, the Menu page and closing.
#include "apps/designer/designer.h"

#include "apps/designer/clipboard_text.h"

#include "platform/host/design_environment.h"
#include "platform/host/form_file.h"
#include "platform/host/host_error.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace brimlox::designer {

namespace {

std::string Product() { return std::string(host::DesignEnvironmentProduct()); }

// The container pasted controls go into: the selected control when it is a container,
// otherwise the form.
host::Control* PasteTarget(DesignDocument& document) {
    const auto& selection = document.Selection();
    if (selection.size() == 1 && selection.front()->IsContainer()) return selection.front().get();
    return nullptr;
}

}  // namespace

bool Designer::Save() {
    DesignDocument* document = Active();
    if (!document) return false;
    try {
        document->Save();
    } catch (const std::exception& e) {
        ShowError(std::string("The form was not saved: ") + e.what());
        return false;
    }
    UpdateTitle();
    return true;
}

bool Designer::SaveAs(const std::string& path) {
    DesignDocument* document = Active();
    if (!document) return false;
    if (path.empty()) {
        ShowError("Give the path of the form file to save.");
        return false;
    }
    try {
        document->SaveAs(path);
    } catch (const std::exception& e) {
        ShowError(std::string("The form was not saved: ") + e.what());
        return false;
    }
    UpdateTitle();
    return true;
}

// A small dialog: the path in a text box, OK saves there, Cancel closes.
void Designer::AskSaveAs() {
    if (!Active()) return;
    if (saveAsDialog_ && !saveAsDialog_->Unloaded()) return;
    const int tpp = host::TwipsPerPixel();
    saveAsDialog_ = host::Form::Create("frmSaveAs");
    host::Form& dialog = *saveAsDialog_;
    dialog.SetCaption("Save As");
    dialog.SetBorderStyle(3);
    dialog.Move(window_->Left() + 40 * tpp, window_->Top() + 120 * tpp, 420 * tpp, 130 * tpp);
    auto label = std::static_pointer_cast<host::Label>(dialog.Add("Label", "lblPath"));
    label->Move(8 * tpp, 10 * tpp, 380 * tpp, 16 * tpp);
    label->SetCaption("Save the form as:");
    auto path = std::static_pointer_cast<host::TextBox>(dialog.Add("TextBox", "txtPath"));
    path->Move(8 * tpp, 30 * tpp, 390 * tpp, 21 * tpp);
    path->SetText(Active()->Path());
    auto ok = std::static_pointer_cast<host::CommandButton>(dialog.Add("CommandButton", "cmdOK"));
    ok->Move(234 * tpp, 60 * tpp, 80 * tpp, 25 * tpp);
    ok->SetCaption("OK");
    auto cancel = std::static_pointer_cast<host::CommandButton>(dialog.Add("CommandButton", "cmdCancel"));
    cancel->Move(318 * tpp, 60 * tpp, 80 * tpp, 25 * tpp);
    cancel->SetCaption("Cancel");
    ok->Connect("Click", [this, path](std::span<host::Variant>) {
        if (SaveAs(path->Text()) && saveAsDialog_) saveAsDialog_->Unload();
    });
    cancel->Connect("Click", [this](std::span<host::Variant>) {
        if (saveAsDialog_) saveAsDialog_->Unload();
    });
    dialog.Show();
}

void Designer::Undo() {
    if (DesignDocument* document = Active(); document && document->CanUndo()) document->Undo();
    UpdateTitle();
}

void Designer::Redo() {
    if (DesignDocument* document = Active(); document && document->CanRedo()) document->Redo();
    UpdateTitle();
}

void Designer::Copy() {
    DesignDocument* document = Active();
    if (!document || document->Selection().empty()) return;
    const std::string text = document->CopyText(document->Selection());
    if (!PutFragmentOnClipboard(window_->hWnd(), text)) ShowError("The clipboard could not take the controls.");
}

void Designer::Cut() {
    DesignDocument* document = Active();
    if (!document || document->Selection().empty()) return;
    const std::string text = document->CopyText(document->Selection());
    if (!PutFragmentOnClipboard(window_->hWnd(), text)) {
        ShowError("The clipboard could not take the controls.");
        return;
    }
    const auto selection = document->Selection();
    document->Delete(selection);
    UpdateTitle();
}

bool Designer::Paste() {
    DesignDocument* document = Active();
    if (!document) return false;
    const auto text = ClipboardText(window_->hWnd());
    if (!text) {
        ShowError("The clipboard holds no controls to paste.");
        return false;
    }
    try {
        document->Paste(*text, PasteTarget(*document));
    } catch (const host::FormFileError& e) {
        ShowError(std::string("The clipboard holds no controls to paste: ") + e.what());
        return false;
    }
    UpdateTitle();
    return true;
}

void Designer::Delete() {
    DesignDocument* document = Active();
    if (!document || document->Selection().empty()) return;
    const auto selection = document->Selection();
    document->Delete(selection);
    UpdateTitle();
}

void Designer::ZOrder(bool toBack) {
    DesignDocument* document = Active();
    if (!document || document->Selection().empty()) return;
    const auto selection = document->Selection();
    document->ZOrder(selection, toBack);
    UpdateTitle();
}

// The form as it stands now runs from its text, so nothing the running form does reaches the
// design; the design window is hidden until the running form closes.
void Designer::Run() {
    DesignDocument* document = Active();
    if (!document || running_) return;
    try {
        running_ = host::LoadFormText(document->Text(), document->Path(), false);
    } catch (const std::exception& e) {
        ShowError(std::string("The form cannot run: ") + e.what());
        return;
    }
    runningFrom_ = document;
    host::Form& design = document->Form();
    running_->Move(design.Left(), design.Top(), running_->Width(), running_->Height());
    running_->Connect("Terminate", [this](std::span<host::Variant>) { RunEnded(); });
    design.Hide();
    UpdateTitle();
    running_->Show();
}

void Designer::RunEnded() {
    // The running form is still raising its Terminate: it is dropped once the loop is idle.
    auto ended = std::move(running_);
    running_.reset();
    if (runningFrom_ && Find(*runningFrom_)) {
        runningFrom_->Form().Show();
        Activate(*runningFrom_);
    }
    runningFrom_ = nullptr;
    if (ended) PostMessageA(window_->hWnd(), WM_NULL, 0, 0);
    UpdateTitle();
}

void Designer::EditMenu(std::shared_ptr<host::Control> control) {
    DesignDocument* document = Active();
    if (!document || !control) return;
    if (menuFrame_ && menuFrame_->Open()) return;
    menuFrame_ = std::make_unique<MenuPageFrame>(control, [this, document] {
        if (!Find(*document)) return false;
        document->Commit("Menu");
        UpdateTitle();
        return true;
    });
    const int tpp = host::TwipsPerPixel();
    menuFrame_->Form().Move(window_->Left() + 40 * tpp, window_->Top() + 80 * tpp, menuFrame_->Form().Width(),
                            menuFrame_->Form().Height());
    menuFrame_->Form().Show();
}

// Asks about unsaved changes: true when the window may close (saved, or changes dropped).
bool Designer::AskToSave(DesignDocument& document) {
    if (!document.Modified()) return true;
    const int answer = host::MsgBox("Save changes to " + document.Form().Name() + "?",
                                    MB_YESNOCANCEL | MB_ICONQUESTION, Product());
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
    Activate(document);
    return Save();
}

bool Designer::Close(DesignDocument& document) {
    if (!Find(document)) return true;
    if (running_ && runningFrom_ == &document) running_->Unload();
    return document.Form().Unload();
}

// A design window closed: its document goes, and the designer with the last one.
void Designer::Forget(DesignDocument& document) {
    auto it = std::find_if(documents_.begin(), documents_.end(),
                           [&](const auto& open) { return open->document.get() == &document; });
    if (it == documents_.end()) return;
    if (menuFrame_) menuFrame_.reset();
    std::unique_ptr<OpenForm> open = std::move(*it);
    documents_.erase(it);
    for (std::size_t id : open->listeners) open->document->RemoveListener(id);
    open->surface.reset();
    if (active_ == &document) active_ = nullptr;
    if (!documents_.empty()) {
        Activate(*documents_.back()->document);
    } else {
        grid_.reset();
        UpdateTitle();
    }
    // The form raising Terminate is still on the stack; the document holding it is kept until
    // the designer goes.
    closed_.push_back(std::move(open));
    if (documents_.empty() && !closing_ && window_ && !window_->Unloaded()) {
        closing_ = true;
        window_->Unload();
    }
}

}  // namespace brimlox::designer
