// The host's standard controls that the library's controls and its design-time page rely on:
// Label, Frame and PictureBox (containers), Line (windowless), Image, CommandButton, TextBox,
// CheckBox, ListBox, and the DriveListBox, DirListBox and FileListBox that an application makes
// follow each other (Drive's Change sets Dir's Path, Dir's Change sets File's Path).
//
// The keyboard: CommandButton, TextBox, CheckBox and the lists take the focus (a press, Tab,
// SetFocus) and show it the Windows way: a TextBox by its caret, a list by a dotted frame round
// its current line, a check box round its caption, a button inside its edge (the frames only
// once the window shows the focus cue). A TextBox takes typing: its text grows at the end and
// Backspace takes the last character away. A list moves its selection with the arrow keys,
// Page Up, Page Down, Home and End, and scrolls with the wheel. Space clicks a button (on its
// release) and toggles a check box; Enter clicks a focused button.
//
// Events when code sets a value: TextBox.Text raises Change; CheckBox.Value raises Click;
// ListBox.ListIndex raises Click; CommandButton.Value = True raises Click; DriveListBox.Drive
// and DirListBox.Path raise Change; FileListBox.Path raises PathChange and FileListBox.Pattern
// PatternChange. Setting a value to what it already is raises nothing.
#pragma once

#include <string>
#include <vector>

#include "platform/host/control.h"
#include "platform/host/keyboard.h"

#include "platform/compat/push_x11_macros.h"

namespace brimlox::host {

void RegisterStandardControls();

// A control with a caption drawn by the host (Label, Frame, CommandButton, CheckBox).
class CaptionedControl : public Control {
public:
    std::string Caption() const { return caption_; }
    void SetCaption(std::string caption);
    void InitProperties() override { caption_ = Name(); }

protected:
    void ReadCaption(PropertyBag& bag) { caption_ = bag.ReadProperty("Caption", Variant(Name())).ToString(); }
    void WriteCaption(PropertyBag& bag) { bag.WriteProperty("Caption", Variant(caption_), Variant(Name())); }
    std::string caption_;
};

class Label : public CaptionedControl {
public:
    std::string TypeName() const override { return "Label"; }
    const TypeInfo* GetTypeInfo() const override;
    std::int16_t Alignment() const { return alignment_; }  // 0 left, 1 right, 2 centre
    void SetAlignment(std::int16_t a);
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Paint() override;
    void Click() override { RaiseEvent("Click"); }

private:
    std::int16_t alignment_ = 0;
};

class Frame : public CaptionedControl {
public:
    std::string TypeName() const override { return "Frame"; }
    const TypeInfo* GetTypeInfo() const override;
    bool IsContainer() const override { return true; }
    void ReadProperties(PropertyBag& bag) override { ReadCaption(bag); }
    void WriteProperties(PropertyBag& bag) override { WriteCaption(bag); }
    void Paint() override;
};

class PictureBox : public Control {
public:
    std::string TypeName() const override { return "PictureBox"; }
    const TypeInfo* GetTypeInfo() const override;
    bool IsContainer() const override { return true; }
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Paint() override { RaiseEvent("Paint"); }
    void Resize() override { RaiseEvent("Resize"); }
    void Click() override { RaiseEvent("Click"); }
    void MouseDown(int b, int s, float x, float y) override { RaiseEvent("MouseDown", b, s, x, y); }
    void MouseMove(int b, int s, float x, float y) override { RaiseEvent("MouseMove", b, s, x, y); }
    void MouseUp(int b, int s, float x, float y) override { RaiseEvent("MouseUp", b, s, x, y); }
};

// A windowless line drawn by its container; its coordinates are twips of the container.
class LineControl : public Control {
public:
    std::string TypeName() const override { return "Line"; }
    std::string DefaultNameBase() const override { return "Line"; }
    const TypeInfo* GetTypeInfo() const override;
    bool IsWindowless() const override { return true; }
    void DrawWindowless(HDC hdc) override;
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    std::int32_t X1() const { return x1_; }
    std::int32_t Y1() const { return y1_; }
    std::int32_t X2() const { return x2_; }
    std::int32_t Y2() const { return y2_; }
    void SetX1(std::int32_t v) { x1_ = v; Changed(); }
    void SetY1(std::int32_t v) { y1_ = v; Changed(); }
    void SetX2(std::int32_t v) { x2_ = v; Changed(); }
    void SetY2(std::int32_t v) { y2_ = v; Changed(); }
    std::uint32_t BorderColor() const { return borderColor_; }
    void SetBorderColor(std::uint32_t c) { borderColor_ = c; Changed(); }

private:
    void Changed();
    std::int32_t x1_ = 0, y1_ = 0, x2_ = 1200, y2_ = 0;
    std::uint32_t borderColor_ = 0x80000008;
};

class Image : public Control {
public:
    std::string TypeName() const override { return "Image"; }
    const TypeInfo* GetTypeInfo() const override;
    bool Stretch() const { return stretch_; }
    void SetStretch(bool s);
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Paint() override;
    void Click() override { RaiseEvent("Click"); }

private:
    bool stretch_ = false;
};

class CommandButton : public CaptionedControl, public KeyboardControl {
public:
    std::string TypeName() const override { return "CommandButton"; }
    std::string DefaultNameBase() const override { return "Command"; }
    const TypeInfo* GetTypeInfo() const override;
    bool Value() const { return false; }
    void SetValue(bool v);  // True clicks the button
    void ReadProperties(PropertyBag& bag) override { ReadCaption(bag); }
    void WriteProperties(PropertyBag& bag) override { WriteCaption(bag); }
    void Paint() override;
    void MouseDown(int, int, float, float) override { pressed_ = true; Refresh(); }
    void MouseUp(int, int, float, float) override { pressed_ = false; Refresh(); }
    void Click() override;
    void KeyDown(int keyCode, int shift, bool repeat) override;
    void KeyUp(int keyCode, int shift) override;
    LRESULT DialogCode(int) const override { return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON; }
    void GotFocus() override { Refresh(); }
    void LostFocus() override;
    void FocusCueChanged() override { Refresh(); }

private:
    bool pressed_ = false;
    bool spacePress_ = false;
};

class TextBox : public Control, public KeyboardControl {
public:
    std::string TypeName() const override { return "TextBox"; }
    std::string DefaultNameBase() const override { return "Text"; }
    const TypeInfo* GetTypeInfo() const override;
    void InitProperties() override { text_ = Name(); }
    std::string Text() const { return text_; }
    void SetText(std::string text);
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Paint() override;
    // Typed characters are added at the end of the text and Backspace removes the last one,
    // each raising Change.
    void KeyPress(int keyAscii) override { TypeCharacter(static_cast<char>(keyAscii)); }
    LRESULT DialogCode(int) const override { return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS; }
    // The caret comes and goes with the focus.
    void GotFocus() override { Refresh(); }
    void LostFocus() override { Refresh(); }

private:
    void TypeCharacter(char c);
    std::string text_;
};

class CheckBox : public CaptionedControl, public KeyboardControl {
public:
    std::string TypeName() const override { return "CheckBox"; }
    std::string DefaultNameBase() const override { return "Check"; }
    const TypeInfo* GetTypeInfo() const override;
    // 0 unchecked, 1 checked, 2 greyed.
    std::int16_t Value() const { return value_; }
    void SetValue(std::int16_t v);
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Paint() override;
    // A click toggles between unchecked and checked (a greyed box becomes unchecked).
    void Click() override { SetValue(value_ == 1 ? 0 : 1); }
    // Space toggles as a click does, when it comes up after going down on the box.
    void KeyDown(int keyCode, int shift, bool repeat) override;
    void KeyUp(int keyCode, int shift) override;
    void GotFocus() override { Refresh(); }
    void LostFocus() override;
    void FocusCueChanged() override { Refresh(); }

private:
    std::int16_t value_ = 0;
    bool spacePress_ = false;
};

class ListBox : public Control, public KeyboardControl {
public:
    std::string TypeName() const override { return "ListBox"; }
    std::string DefaultNameBase() const override { return "List"; }
    const TypeInfo* GetTypeInfo() const override;
    void AddItem(std::string item, std::int32_t index = -1);
    void RemoveItem(std::int32_t index);
    void Clear();
    std::string List(std::int32_t index) const;
    std::int32_t ListCount() const { return static_cast<std::int32_t>(items_.size()); }
    std::int32_t ListIndex() const { return listIndex_; }
    // Setting the selection scrolls it into view.
    void SetListIndex(std::int32_t index);
    // The first line shown; the list scrolls so that no space is left below the last line.
    std::int32_t TopIndex() const { return topIndex_; }
    void SetTopIndex(std::int32_t index);
    std::string Text() const { return listIndex_ >= 0 ? items_[static_cast<std::size_t>(listIndex_)] : std::string(); }
    // Tab stops in dialog units (4 per average character width), as LB_SETTABSTOPS takes them.
    void SetTabStops(std::vector<int> stops);
    const std::vector<int>& TabStops() const { return tabStops_; }
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;
    void Paint() override;
    // A press selects the line under it (and gives the list the focus, as Tab does): then the
    // arrow keys, Page Up, Page Down, Home and End move the selection and the wheel scrolls.
    void MouseDown(int button, int shift, float x, float y) override;
    void DblClick() override { RaiseEvent("DblClick"); }
    void KeyDown(int keyCode, int shift, bool repeat) override;
    bool MouseWheel(int delta, int shift) override;
    LRESULT DialogCode(int) const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void GotFocus() override { Refresh(); }
    void LostFocus() override { Refresh(); }
    void FocusCueChanged() override { Refresh(); }

protected:
    std::vector<std::string> items_;
    std::int32_t listIndex_ = -1;
    std::int32_t topIndex_ = 0;
    std::vector<int> tabStops_;

private:
    int LineHeight();
    std::int32_t VisibleLines();
    void MoveSelection(int vk);
};

class DriveListBox : public Control {
public:
    std::string TypeName() const override { return "DriveListBox"; }
    std::string DefaultNameBase() const override { return "Drive"; }
    const TypeInfo* GetTypeInfo() const override;
    // The one drive of this system is its root, "/".
    std::string Drive() const { return drive_; }
    void SetDrive(std::string drive);
    void Paint() override;

private:
    std::string drive_ = "/";
};

class DirListBox : public ListBox {
public:
    std::string TypeName() const override { return "DirListBox"; }
    std::string DefaultNameBase() const override { return "Dir"; }
    const TypeInfo* GetTypeInfo() const override;
    void InitProperties() override;
    std::string Path() const { return path_; }
    void SetPath(std::string path);
    void ReadProperties(PropertyBag&) override {}
    void WriteProperties(PropertyBag&) override {}
    void DblClick() override;

private:
    std::string path_;
};

class FileListBox : public ListBox {
public:
    std::string TypeName() const override { return "FileListBox"; }
    std::string DefaultNameBase() const override { return "File"; }
    const TypeInfo* GetTypeInfo() const override;
    void InitProperties() override;
    std::string Path() const { return path_; }
    void SetPath(std::string path);
    std::string Pattern() const { return pattern_; }
    void SetPattern(std::string pattern);
    std::string FileName() const { return Text(); }
    void ReadProperties(PropertyBag& bag) override;
    void WriteProperties(PropertyBag& bag) override;

private:
    void Reload();
    std::string path_;
    std::string pattern_ = "*.*";
};

}  // namespace brimlox::host

#include "platform/compat/pop_x11_macros.h"
