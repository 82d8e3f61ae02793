// Label, Frame, PictureBox, Line, Image and CommandButton, and the registration of every
// standard control.
#include "platform/host/standard_controls.h"

#include "platform/gdi/text.h"
#include "platform/host/control_registry.h"
#include "platform/user/keyboard_cues.h"
#include "platform/host/type_builder.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

// Draws text in the surface's fore colour with a transparent background.
void DrawCaption(HDC dc, const std::string& text, RECT r, UINT format, COLORREF colour) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

RECT ClientOf(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

template <typename T>
ControlFactory Factory() {
    return [] { return Control::Make<T>(); };
}

}  // namespace

void CaptionedControl::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    PropertyChanged("Caption");
    Refresh();
}

// ---- Label -----------------------------------------------------------------------------------
const TypeInfo* Label::GetTypeInfo() const {
    static const auto info = TypeBuilder<Label>("Label")
                                 .Property("Caption", &Label::Caption, &Label::SetCaption, "Returns/sets the text.", 0)
                                 .Property("Alignment", &Label::Alignment, &Label::SetAlignment, "0 left, 1 right, 2 centre.")
                                 .Property("BackColor", &Label::BackColor, &Label::SetBackColor, "Returns/sets the background colour.", -501)
                                 .Property("ForeColor", &Label::ForeColor, &Label::SetForeColor, "Returns/sets the text colour.", -513)
                                 .Event("Click", -600, "Occurs when the user clicks the label.")
                                 .Build();
    return info.get();
}

void Label::SetAlignment(std::int16_t a) {
    if (a < 0 || a > 2) throw HostError(kErrInvalidPropertyValue);
    alignment_ = a;
    PropertyChanged("Alignment");
    Refresh();
}

void Label::ReadProperties(PropertyBag& bag) {
    ReadCaption(bag);
    alignment_ = bag.ReadProperty("Alignment", Variant(std::int16_t{0})).ToInteger();
    if (alignment_ < 0 || alignment_ > 2) throw HostError(kErrInvalidPropertyValue, "Invalid property value: Alignment");
    SetBackColor(static_cast<std::uint32_t>(bag.ReadProperty("BackColor", Variant(static_cast<std::int32_t>(0x8000000F))).ToLong()));
    SetForeColor(static_cast<std::uint32_t>(bag.ReadProperty("ForeColor", Variant(static_cast<std::int32_t>(0x80000012))).ToLong()));
}

void Label::WriteProperties(PropertyBag& bag) {
    WriteCaption(bag);
    bag.WriteProperty("Alignment", Variant(alignment_), Variant(std::int16_t{0}));
    bag.WriteProperty("BackColor", Variant(static_cast<std::int32_t>(BackColor())), Variant(static_cast<std::int32_t>(0x8000000F)));
    bag.WriteProperty("ForeColor", Variant(static_cast<std::int32_t>(ForeColor())), Variant(static_cast<std::int32_t>(0x80000012)));
}

void Label::Paint() {
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    DrawCaption(hDC(), caption_, ClientOf(hWnd()), kAlign[alignment_] | DT_WORDBREAK, ResolveColor(ForeColor()));
}

// ---- Frame -----------------------------------------------------------------------------------
const TypeInfo* Frame::GetTypeInfo() const {
    static const auto info = TypeBuilder<Frame>("Frame")
                                 .Property("Caption", &Frame::Caption, &Frame::SetCaption, "Returns/sets the title.", 0)
                                 .Property("BackColor", &Frame::BackColor, &Frame::SetBackColor, "Returns/sets the background colour.", -501)
                                 .Property("ForeColor", &Frame::ForeColor, &Frame::SetForeColor, "Returns/sets the title colour.", -513)
                                 .Build();
    return info.get();
}

void Frame::Paint() {
    HDC dc = hDC();
    RECT r = ClientOf(hWnd());
    SIZE text{};
    GetTextExtentPoint32A(dc, "X", 1, &text);
    RECT edge{r.left, r.top + text.cy / 2, r.right, r.bottom};
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    if (caption_.empty()) return;
    SIZE size{};
    GetTextExtentPoint32A(dc, caption_.c_str(), static_cast<int>(caption_.size()), &size);
    RECT label{8, 0, 8 + size.cx + 4, size.cy};
    HBRUSH brush = CreateSolidBrush(ResolveColor(BackColor()));
    FillRect(dc, &label, brush);
    DeleteObject(brush);
    label.left += 2;
    DrawCaption(dc, caption_, label, DT_LEFT | DT_SINGLELINE, ResolveColor(ForeColor()));
}

// ---- PictureBox ------------------------------------------------------------------------------
const TypeInfo* PictureBox::GetTypeInfo() const {
    static const auto info =
        TypeBuilder<PictureBox>("PictureBox")
            .Property("Picture", &PictureBox::Picture, &PictureBox::SetPicture, "Returns/sets the picture shown.", 0)
            .Property("AutoRedraw", &PictureBox::AutoRedraw, &PictureBox::SetAutoRedraw, "Keeps drawings in a persistent bitmap.")
            .Property("BackColor", &PictureBox::BackColor, &PictureBox::SetBackColor, "Returns/sets the background colour.", -501)
            .Property("ForeColor", &PictureBox::ForeColor, &PictureBox::SetForeColor, "Returns/sets the drawing colour.", -513)
            .Property("ScaleMode", &PictureBox::ScaleMode, &PictureBox::SetScaleMode, "Returns/sets the unit of coordinates.")
            .Property("ScaleWidth", &PictureBox::ScaleWidth, &PictureBox::SetScaleWidth, "Returns/sets the inner width.")
            .Property("ScaleHeight", &PictureBox::ScaleHeight, &PictureBox::SetScaleHeight, "Returns/sets the inner height.")
            .Method("Cls", [](PictureBox& p, std::span<Variant>) { p.Cls(); return Variant(); }, "Clears the drawing.")
            .Method("Refresh", [](PictureBox& p, std::span<Variant>) { p.Refresh(); return Variant(); }, "Repaints.")
            .Event("Click", -600, "Occurs on a click.")
            .Event("Paint", 1, "Occurs when the box must be redrawn.")
            .Event("Resize", 2, "Occurs when the size changes.")
            .Event("MouseDown", -605, "Occurs on a press.", {{"Button"}, {"Shift"}, {"X"}, {"Y"}})
            .Event("MouseMove", -606, "Occurs on a move.", {{"Button"}, {"Shift"}, {"X"}, {"Y"}})
            .Event("MouseUp", -607, "Occurs on a release.", {{"Button"}, {"Shift"}, {"X"}, {"Y"}})
            .Build();
    return info.get();
}

void PictureBox::ReadProperties(PropertyBag& bag) {
    if (auto p = bag.ReadProperty("Picture").As<StdPicture>()) SetPicture(p);
    SetBackColor(static_cast<std::uint32_t>(bag.ReadProperty("BackColor", Variant(static_cast<std::int32_t>(0x8000000F))).ToLong()));
    SetAutoRedraw(bag.ReadProperty("AutoRedraw", Variant(false)).ToBool());
}

void PictureBox::WriteProperties(PropertyBag& bag) {
    if (Picture() && Picture()->Type() != PictureType::None)
        bag.WriteProperty("Picture", Variant(std::static_pointer_cast<Dispatch>(Picture())));
    bag.WriteProperty("BackColor", Variant(static_cast<std::int32_t>(BackColor())), Variant(static_cast<std::int32_t>(0x8000000F)));
    bag.WriteProperty("AutoRedraw", Variant(AutoRedraw()), Variant(false));
}

// ---- Line ------------------------------------------------------------------------------------
const TypeInfo* LineControl::GetTypeInfo() const {
    static const auto info = TypeBuilder<LineControl>("Line")
                                 .Property("X1", &LineControl::X1, &LineControl::SetX1, "Start x in twips.")
                                 .Property("Y1", &LineControl::Y1, &LineControl::SetY1, "Start y in twips.")
                                 .Property("X2", &LineControl::X2, &LineControl::SetX2, "End x in twips.")
                                 .Property("Y2", &LineControl::Y2, &LineControl::SetY2, "End y in twips.")
                                 .Property("BorderColor", &LineControl::BorderColor, &LineControl::SetBorderColor, "The line colour.")
                                 .Build();
    return info.get();
}

void LineControl::Changed() {
    PropertyChanged("X1");
    if (HWND c = ContainerHwnd()) InvalidateRect(c, nullptr, TRUE);
}

void LineControl::DrawWindowless(HDC hdc) {
    int tpp = TwipsPerPixel();
    HPEN pen = CreatePen(PS_SOLID, 1, ResolveColor(borderColor_));
    HGDIOBJ old = SelectObject(hdc, pen);
    MoveToEx(hdc, x1_ / tpp, y1_ / tpp, nullptr);
    LineTo(hdc, x2_ / tpp, y2_ / tpp);
    SelectObject(hdc, old);
    DeleteObject(pen);
}

void LineControl::ReadProperties(PropertyBag& bag) {
    x1_ = bag.ReadProperty("X1", Variant(0)).ToLong();
    y1_ = bag.ReadProperty("Y1", Variant(0)).ToLong();
    x2_ = bag.ReadProperty("X2", Variant(1200)).ToLong();
    y2_ = bag.ReadProperty("Y2", Variant(0)).ToLong();
    borderColor_ = static_cast<std::uint32_t>(bag.ReadProperty("BorderColor", Variant(static_cast<std::int32_t>(0x80000008))).ToLong());
}

void LineControl::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("X1", Variant(x1_), Variant(0));
    bag.WriteProperty("Y1", Variant(y1_), Variant(0));
    bag.WriteProperty("X2", Variant(x2_), Variant(1200));
    bag.WriteProperty("Y2", Variant(y2_), Variant(0));
    bag.WriteProperty("BorderColor", Variant(static_cast<std::int32_t>(borderColor_)), Variant(static_cast<std::int32_t>(0x80000008)));
}

// ---- Image -----------------------------------------------------------------------------------
const TypeInfo* Image::GetTypeInfo() const {
    static const auto info = TypeBuilder<Image>("Image")
                                 .Property("Picture", &Image::Picture, &Image::SetPicture, "Returns/sets the picture.", 0)
                                 .Property("Stretch", &Image::Stretch, &Image::SetStretch, "Stretches the picture to the control.")
                                 .Event("Click", -600, "Occurs on a click.")
                                 .Build();
    return info.get();
}

void Image::SetStretch(bool s) {
    stretch_ = s;
    PropertyChanged("Stretch");
    Refresh();
}

void Image::ReadProperties(PropertyBag& bag) {
    if (auto p = bag.ReadProperty("Picture").As<StdPicture>()) SetPicture(p);
    stretch_ = bag.ReadProperty("Stretch", Variant(false)).ToBool();
}

void Image::WriteProperties(PropertyBag& bag) {
    if (Picture() && Picture()->Type() != PictureType::None)
        bag.WriteProperty("Picture", Variant(std::static_pointer_cast<Dispatch>(Picture())));
    bag.WriteProperty("Stretch", Variant(stretch_), Variant(false));
}

void Image::Paint() {
    // The picture is drawn here, not as the erased background, so Stretch can size it.
    auto p = Picture();
    if (!p || p->Type() == PictureType::None) return;
    RECT r = ClientOf(hWnd());
    FillBackground(hDC());
    if (stretch_) p->Render(hDC(), 0, 0, r.right, r.bottom);
}

// ---- CommandButton ---------------------------------------------------------------------------
const TypeInfo* CommandButton::GetTypeInfo() const {
    static const auto info = TypeBuilder<CommandButton>("CommandButton")
                                 .Property("Caption", &CommandButton::Caption, &CommandButton::SetCaption, "Returns/sets the text.", 0)
                                 .Property("Value", &CommandButton::Value, &CommandButton::SetValue, "Setting True clicks the button.")
                                 .Event("Click", -600, "Occurs when the button is clicked.")
                                 .Build();
    return info.get();
}

void CommandButton::SetValue(bool v) {
    if (v) Click();
}

void CommandButton::Click() {
    // A button in a control array reports its index with the click.
    if (IsArrayMember()) {
        std::int16_t index = Index();
        RaiseEvent("Click", index);
    } else {
        RaiseEvent("Click");
    }
}

void CommandButton::Paint() {
    HDC dc = hDC();
    RECT r = ClientOf(hWnd());
    DrawEdge(dc, &r, pressed_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT frame = r;
    if (pressed_) OffsetRect(&r, 1, 1);
    DrawCaption(dc, caption_, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, ResolveColor(ForeColor()));
    // Inside the edge (two pixels) with one pixel to spare.
    InflateRect(&frame, -3, -3);
    if (ShowsFocusRect(*this) && frame.right - frame.left >= 2 && frame.bottom - frame.top >= 2)
        DrawFocusRect(dc, &frame);
}

// Space presses the button while it is down and clicks on its release; Enter clicks at once.
void CommandButton::KeyDown(int keyCode, int shift, bool repeat) {
    (void)shift;
    if (repeat || spacePress_) return;
    if (keyCode == VK_RETURN) {
        Click();
    } else if (keyCode == VK_SPACE) {
        spacePress_ = pressed_ = true;
        Refresh();
    }
}

void CommandButton::KeyUp(int keyCode, int shift) {
    (void)shift;
    if (keyCode != VK_SPACE || !spacePress_) return;
    spacePress_ = pressed_ = false;
    Refresh();
    Click();
}

// A press by Space that loses the focus comes up without a click.
void CommandButton::LostFocus() {
    if (spacePress_) spacePress_ = pressed_ = false;
    Refresh();
}

void RegisterStandardControls() {
    RegisterControlType("Label", Factory<Label>());
    RegisterControlType("Frame", Factory<Frame>());
    RegisterControlType("PictureBox", Factory<PictureBox>());
    RegisterControlType("Line", Factory<LineControl>());
    RegisterControlType("Image", Factory<Image>());
    RegisterControlType("CommandButton", Factory<CommandButton>());
    RegisterControlType("TextBox", Factory<TextBox>());
    RegisterControlType("CheckBox", Factory<CheckBox>());
    RegisterControlType("ListBox", Factory<ListBox>());
    RegisterControlType("DriveListBox", Factory<DriveListBox>());
    RegisterControlType("DirListBox", Factory<DirListBox>());
    RegisterControlType("FileListBox", Factory<FileListBox>());
}

}  // namespace brimlox::host
