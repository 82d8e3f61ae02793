// The property grid's input: choosing a row, the editor's Enter and Escape, the "..." button
// and the drop-down list of values.
//
// State of the chosen row's editor:
//   nothing chosen  --click a line-->  row chosen (editor shows its value)
//   row chosen      --type-->          editing (the editor's text grows)
//   editing         --Enter-->         applied: the row's new value shows; refused: the typed
//                                      text stays for correction (the host's message was shown)
//   editing         --Escape-->        row chosen (the shown value is put back)
//   row chosen      --"..."-->         drop-down, font editor or picture chooser open; a choice
//                                      there applies as Enter does and closes it
#include <map>

#include "apps/designer/property_grid_view.h"
#include "platform/host/keyboard.h"
#include "platform/user/user.h"

namespace brimlox::designer {

namespace {

// The grid whose editor a window is.
std::map<HWND, PropertyGridView*>& EditorOwners() {
    static std::map<HWND, PropertyGridView*> owners;
    return owners;
}

bool HasChoices(PropertyKind kind) {
    return kind == PropertyKind::Enumeration || kind == PropertyKind::Boolean || kind == PropertyKind::Color;
}

bool HasEditor(PropertyKind kind) {
    return HasChoices(kind) || kind == PropertyKind::Font || kind == PropertyKind::Picture;
}

}  // namespace

void PropertyGridView::HookEditor() {
    EditorOwners()[editor_->hWnd()] = this;
    editorProc_ = SetWindowLongA(editor_->hWnd(), GWL_WNDPROC, user::WndProcToLong(EditorProc));
}

void PropertyGridView::UnhookEditor() {
    if (!editor_) return;
    EditorOwners().erase(editor_->hWnd());
    if (IsWindow(editor_->hWnd())) SetWindowLongA(editor_->hWnd(), GWL_WNDPROC, editorProc_);
}

LRESULT CALLBACK PropertyGridView::EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = EditorOwners().find(hwnd);
    if (it == EditorOwners().end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    PropertyGridView* self = it->second;
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        self->EditorKey(static_cast<int>(wParam));
        return 0;
    }
    return CallWindowProcA(user::WndProcFromLong(self->editorProc_), hwnd, msg, wParam, lParam);
}

void PropertyGridView::Choose(const std::string& property) {
    if (property == kMenuLine) {
        if (hasMenu_) ChooseLine(0);
        return;
    }
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].name == property) list_->SetListIndex(static_cast<std::int32_t>(i) + (hasMenu_ ? 1 : 0));
}

void PropertyGridView::ListClicked() {
    if (!filling_) ChooseLine(list_->ListIndex());
}

void PropertyGridView::ChooseLine(std::int32_t line) {
    CloseEditors();
    if (line < 0) return;
    if (hasMenu_ && line == 0) {
        if (onMenu_) onMenu_();
        return;
    }
    const auto index = static_cast<std::size_t>(line - (hasMenu_ ? 1 : 0));
    if (index >= rows_.size()) return;
    chosen_ = rows_[index].name;
    editor_->SetText(rows_[index].text);
    button_->SetEnabled(HasEditor(rows_[index].kind));
}

void PropertyGridView::EditorKey(int virtualKey) {
    if (chosen_.empty()) return;
    if (virtualKey == VK_RETURN) {
        ApplyText(editor_->Text());
        return;
    }
    for (const auto& row : rows_)
        if (row.name == chosen_) editor_->SetText(row.text);
    CloseEditors();
}

bool PropertyGridView::ApplyText(const std::string& text) {
    if (chosen_.empty() || !onApply_) return false;
    const std::string property = chosen_;
    if (!onApply_(property, text)) return false;
    // The rows were read again after the change: show the value as the grid words it.
    for (const auto& row : rows_)
        if (row.name == property) editor_->SetText(row.text);
    return true;
}

void PropertyGridView::ButtonClicked() {
    const PropertyRow* row = nullptr;
    for (const auto& r : rows_)
        if (r.name == chosen_) row = &r;
    if (!row) return;
    const bool wasOpen = dropDown_->Visible() || fontFrame_->Visible() || pictureFrame_->Visible();
    CloseEditors();
    if (wasOpen) return;
    if (HasChoices(row->kind)) OpenDropDown();
    if (row->kind == PropertyKind::Font) OpenFontEditor();
    if (row->kind == PropertyKind::Picture) OpenPictureChooser();
}

void PropertyGridView::OpenDropDown() {
    const PropertyRow* row = nullptr;
    for (const auto& r : rows_)
        if (r.name == chosen_) row = &r;
    filling_ = true;
    dropDown_->Clear();
    if (row->kind == PropertyKind::Enumeration)
        for (const auto& m : row->Rule().enumeration) dropDown_->AddItem(std::to_string(m.value) + " - " + m.name);
    if (row->kind == PropertyKind::Boolean)
        for (const char* choice : {"False", "True"}) dropDown_->AddItem(choice);
    if (row->kind == PropertyKind::Color)
        for (int i = 0; i < kSystemColorCount; ++i) dropDown_->AddItem(SystemColorNames()[i]);
    for (std::int32_t i = 0; i < dropDown_->ListCount(); ++i)
        if (dropDown_->List(i) == row->text) dropDown_->SetListIndex(i);
    filling_ = false;
    dropDown_->SetVisible(true);
    dropDown_->ZOrder(0);
}

void PropertyGridView::DropDownClicked() {
    if (filling_ || dropDown_->ListIndex() < 0) return;
    const std::string choice = dropDown_->Text();
    CloseEditors();
    ApplyText(choice);
}

void PropertyGridView::CloseEditors() {
    if (dropDown_->Visible()) dropDown_->SetVisible(false);
    if (fontFrame_->Visible()) fontFrame_->SetVisible(false);
    if (pictureFrame_->Visible()) pictureFrame_->SetVisible(false);
}

}  // namespace brimlox::designer
