// PropertyGridView: the property grid on screen, built from the host's standard controls on a
// form of the designer. A list shows one "Name<TAB>Value" line per row (a "(Menu)" line first
// for a control with popup-menu items); above it a text box edits the chosen row's value
// (Enter applies, Escape puts the shown value back) and a "..." button opens the editor the
// row's kind asks for: a drop-down list of the values for enumerations, booleans and colours,
// a font editor (face, size, bold, italic) for fonts, a chooser over the drive, folder and file
// lists for pictures. Every edit ends as text handed to the apply handler, which converts and
// sets it (PropertyGrid hands it to the document).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "apps/designer/property_rows.h"
#include "platform/host/form.h"
#include "platform/host/standard_controls.h"
#include "platform/user/winuser.h"

namespace brimlox::designer {

class PropertyGridView {
public:
    PropertyGridView(std::shared_ptr<host::Form> form, RECT area);
    ~PropertyGridView();
    PropertyGridView(const PropertyGridView&) = delete;
    PropertyGridView& operator=(const PropertyGridView&) = delete;

    // Shows `rows`; the chosen row stays chosen when it is still there.
    void Show(const PropertyRows& rows);
    // Chooses a row as a click on its line does ("(Menu)" opens the menu editor).
    void Choose(const std::string& property);
    const std::string& Chosen() const { return chosen_; }

    // Returns false when the value was refused; the editor then keeps the typed text.
    using ApplyHandler = std::function<bool(const std::string& property, const std::string& text)>;
    void SetApplyHandler(ApplyHandler handler) { onApply_ = std::move(handler); }
    void SetMenuHandler(std::function<void()> handler) { onMenu_ = std::move(handler); }

    // The lines of the list, and the line the "(Menu)" row shows as.
    static constexpr const char* kMenuLine = "(Menu)";
    host::ListBox& List() { return *list_; }
    host::TextBox& Editor() { return *editor_; }
    host::CommandButton& EditorButton() { return *button_; }
    host::ListBox& DropDown() { return *dropDown_; }
    bool FontEditorOpen() const { return fontFrame_->Visible(); }
    bool PictureChooserOpen() const { return pictureFrame_->Visible(); }
    // The picture chooser's folder list (tests point it at a folder).
    host::DirListBox& PictureFolders() { return *dirList_; }

private:
    template <typename T>
    std::shared_ptr<T> Add(const std::string& type, const std::string& name, host::Control* container = nullptr);
    void Connect(host::Control& control, const std::string& event, std::function<void()> handler);
    // Layout (property_grid_layout.cpp).
    void BuildList(RECT area);
    void BuildFontEditor(RECT area);
    void BuildPictureChooser(RECT area);
    void FillList();
    // Input (property_grid_input.cpp).
    void ListClicked();
    void ChooseLine(std::int32_t line);
    void EditorKey(int virtualKey);
    bool ApplyText(const std::string& text);
    void ButtonClicked();
    void OpenDropDown();
    void DropDownClicked();
    void CloseEditors();
    // The editor's window is subclassed, so that Enter and Escape reach the grid first.
    void HookEditor();
    void UnhookEditor();
    static LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Font editor and picture chooser (property_grid_editors.cpp).
    void OpenFontEditor();
    void ConfirmFont();
    void OpenPictureChooser();
    void ConfirmPicture(bool none);

    std::shared_ptr<host::Form> form_;
    std::shared_ptr<host::ListBox> list_, dropDown_;
    std::shared_ptr<host::TextBox> editor_;
    std::shared_ptr<host::CommandButton> button_;
    std::shared_ptr<host::Frame> fontFrame_, pictureFrame_;
    std::shared_ptr<host::ListBox> fontNames_;
    std::shared_ptr<host::TextBox> fontSize_;
    std::shared_ptr<host::CheckBox> fontBold_, fontItalic_;
    std::shared_ptr<host::DriveListBox> driveList_;
    std::shared_ptr<host::DirListBox> dirList_;
    std::shared_ptr<host::FileListBox> fileList_;
    std::vector<std::pair<std::shared_ptr<host::Control>, int>> connections_;
    LONG editorProc_ = 0;  // the text box's own window procedure, called for every other message

    std::vector<PropertyRow> rows_;
    bool hasMenu_ = false;
    std::string chosen_;
    bool filling_ = false;  // the list is being refilled: its Click is not a choice
    ApplyHandler onApply_;
    std::function<void()> onMenu_;
};

}  // namespace brimlox::designer
