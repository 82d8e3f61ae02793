// TextBox, CheckBox and ListBox of the host's standard controls.
#include <algorithm>

#include "platform/user/keyboard_cues.h"

#include "platform/gdi/text.h"
#include "platform/host/standard_controls.h"
#include "platform/host/type_builder.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

RECT ClientOf(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

void FillWith(HDC dc, RECT r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace

// ---- TextBox ---------------------------------------------------------------------------------
const TypeInfo* TextBox::GetTypeInfo() const {
    static const auto info = TypeBuilder<TextBox>("TextBox")
                                 .Property("Text", &TextBox::Text, &TextBox::SetText, "Returns/sets the text.", 0)
                                 .Event("Change", 1, "Occurs when the text changes, also when code sets it.")
                                 .Build();
    return info.get();
}

void TextBox::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    PropertyChanged("Text");
    Refresh();
    RaiseEvent("Change");
}

void TextBox::ReadProperties(PropertyBag& bag) { text_ = bag.ReadProperty("Text", Variant(Name())).ToString(); }
void TextBox::WriteProperties(PropertyBag& bag) { bag.WriteProperty("Text", Variant(text_), Variant(Name())); }

void TextBox::Paint() {
    HDC dc = hDC();
    RECT r = ClientOf(hWnd());
    FillWith(dc, r, GetSysColor(COLOR_WINDOW));
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    InflateRect(&r, -3, -2);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (HasFocus(*this)) {
        // The caret stands after the last character, where typing goes.
        SIZE extent{};
        GetTextExtentPoint32A(dc, text_.c_str(), static_cast<int>(text_.size()), &extent);
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        const int x = std::min<int>(r.left + extent.cx, r.right - 1);
        const int top = r.top + (r.bottom - r.top - tm.tmHeight) / 2;
        FillWith(dc, RECT{x, top, x + 1, top + tm.tmHeight}, GetSysColor(COLOR_WINDOWTEXT));
    }
}

void TextBox::TypeCharacter(char c) {
    if (c == '\b') {
        if (!text_.empty()) SetText(text_.substr(0, text_.size() - 1));
        return;
    }
    // Control characters (Enter, Escape, Tab, Ctrl+letter) are not text in a one-line box.
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return;
    SetText(text_ + c);
}

// ---- CheckBox --------------------------------------------------------------------------------
const TypeInfo* CheckBox::GetTypeInfo() const {
    static const auto info = TypeBuilder<CheckBox>("CheckBox")
                                 .Property("Caption", &CheckBox::Caption, &CheckBox::SetCaption, "Returns/sets the text.")
                                 .Property("Value", &CheckBox::Value, &CheckBox::SetValue, "0 unchecked, 1 checked, 2 greyed.", 0)
                                 .Event("Click", -600, "Occurs when the value changes, also when code sets it.")
                                 .Build();
    return info.get();
}

void CheckBox::SetValue(std::int16_t v) {
    if (v < 0 || v > 2) throw HostError(kErrInvalidPropertyValue);
    if (v == value_) return;
    value_ = v;
    PropertyChanged("Value");
    Refresh();
    RaiseEvent("Click");
}

void CheckBox::ReadProperties(PropertyBag& bag) {
    ReadCaption(bag);
    std::int16_t v = bag.ReadProperty("Value", Variant(std::int16_t{0})).ToInteger();
    if (v < 0 || v > 2) throw HostError(kErrInvalidPropertyValue, "Invalid property value: Value must be 0, 1 or 2");
    value_ = v;
}

void CheckBox::WriteProperties(PropertyBag& bag) {
    WriteCaption(bag);
    bag.WriteProperty("Value", Variant(value_), Variant(std::int16_t{0}));
}

void CheckBox::Paint() {
    HDC dc = hDC();
    RECT r = ClientOf(hWnd());
    int box = 13;
    RECT b{0, (r.bottom - box) / 2, box, (r.bottom - box) / 2 + box};
    FillWith(dc, b, GetSysColor(value_ == 2 ? COLOR_BTNFACE : COLOR_WINDOW));
    DrawEdge(dc, &b, EDGE_SUNKEN, BF_RECT);
    if (value_ != 0) {
        // The tick: two strokes, grey when the box is greyed.
        HPEN pen = CreatePen(PS_SOLID, 2, GetSysColor(value_ == 2 ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, b.left + 3, b.top + 6, nullptr);
        LineTo(dc, b.left + 5, b.top + 9);
        LineTo(dc, b.left + 10, b.top + 3);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    RECT t{box + 4, 0, r.right, r.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColor(ForeColor()));
    DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &t, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (ShowsFocusRect(*this)) {
        // The frame runs one pixel round the caption, as far as the box allows.
        RECT text = t;
        DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        const int height = text.bottom - text.top;
        RECT frame{t.left - 1, (r.bottom - height) / 2 - 1, std::min<LONG>(text.right + 1, r.right), 0};
        frame.bottom = std::min<LONG>(frame.top + height + 2, r.bottom);
        frame.top = std::max<LONG>(frame.top, 0);
        DrawFocusRect(dc, &frame);
    }
}

void CheckBox::KeyDown(int keyCode, int shift, bool repeat) {
    (void)shift;
    if (keyCode == VK_SPACE && !repeat) spacePress_ = true;
}

void CheckBox::KeyUp(int keyCode, int shift) {
    (void)shift;
    if (keyCode != VK_SPACE || !spacePress_) return;
    spacePress_ = false;
    Click();
}

void CheckBox::LostFocus() {
    spacePress_ = false;
    Refresh();
}

// ---- ListBox ---------------------------------------------------------------------------------
const TypeInfo* ListBox::GetTypeInfo() const {
    static const auto info =
        TypeBuilder<ListBox>("ListBox")
            .Method("AddItem", [](ListBox& l, std::span<Variant> a) {
                l.AddItem(a[0].ToString(), a.size() > 1 && !a[1].IsEmpty() ? a[1].ToLong() : -1);
                return Variant();
            }, "Adds an item.", {{"Item"}, {"Index", true}})
            .Method("RemoveItem", [](ListBox& l, std::span<Variant> a) { l.RemoveItem(a[0].ToLong()); return Variant(); },
                    "Removes an item.", {{"Index"}})
            .Method("Clear", [](ListBox& l, std::span<Variant>) { l.Clear(); return Variant(); }, "Removes every item.")
            .Method("List", [](ListBox& l, std::span<Variant> a) { return Variant(l.List(a[0].ToLong())); },
                    "Returns an item.", {{"Index"}})
            .Get("ListCount", &ListBox::ListCount, "Returns the number of items.")
            .Property("ListIndex", &ListBox::ListIndex, &ListBox::SetListIndex, "Returns/sets the selected item (-1 none).")
            .Get("Text", &ListBox::Text, "Returns the selected item's text.", 0)
            .Event("Click", -600, "Occurs when the selection changes, also when code sets it.")
            .Event("DblClick", -601, "Occurs on a double click.")
            .Build();
    return info.get();
}

void ListBox::AddItem(std::string item, std::int32_t index) {
    if (index < -1 || index > ListCount()) throw HostError(kErrInvalidCall);
    if (index < 0) index = ListCount();
    items_.insert(items_.begin() + index, std::move(item));
    if (listIndex_ >= index) ++listIndex_;
    Refresh();
}

void ListBox::RemoveItem(std::int32_t index) {
    if (index < 0 || index >= ListCount()) throw HostError(kErrInvalidCall);
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) listIndex_ = -1;
    else if (listIndex_ > index) --listIndex_;
    topIndex_ = std::clamp(topIndex_, 0, std::max(0, ListCount() - VisibleLines()));
    Refresh();
}

void ListBox::Clear() {
    items_.clear();
    listIndex_ = -1;
    topIndex_ = 0;
    Refresh();
}

std::string ListBox::List(std::int32_t index) const {
    // Reading beyond the list gives an empty string, as the host's list boxes do.
    if (index < 0 || index >= ListCount()) return {};
    return items_[static_cast<std::size_t>(index)];
}

void ListBox::SetListIndex(std::int32_t index) {
    if (index < -1 || index >= ListCount()) throw HostError(kErrInvalidPropertyValue);
    if (index == listIndex_) return;
    listIndex_ = index;
    if (index >= 0 && index < topIndex_) SetTopIndex(index);
    else if (index >= 0 && index >= topIndex_ + VisibleLines()) SetTopIndex(index - VisibleLines() + 1);
    Refresh();
    RaiseEvent("Click");
}

int ListBox::LineHeight() {
    TEXTMETRICA tm{};
    if (hDC()) GetTextMetricsA(hDC(), &tm);
    return std::max<int>(1, tm.tmHeight);
}

std::int32_t ListBox::VisibleLines() {
    const RECT r = ClientOf(hWnd());
    return std::max(1, static_cast<int>(r.bottom) / LineHeight());
}

void ListBox::SetTopIndex(std::int32_t index) {
    const std::int32_t last = std::max(0, ListCount() - VisibleLines());
    index = std::clamp(index, 0, last);
    if (index == topIndex_) return;
    topIndex_ = index;
    Refresh();
}

void ListBox::MoveSelection(int vk) {
    const std::int32_t page = std::max(1, VisibleLines() - 1);
    std::int32_t to = listIndex_;
    switch (vk) {
        case VK_UP: to -= 1; break;
        case VK_DOWN: to += 1; break;
        case VK_PRIOR: to -= page; break;
        case VK_NEXT: to += page; break;
        case VK_HOME: to = 0; break;
        case VK_END: to = ListCount() - 1; break;
        default: return;
    }
    if (ListCount() > 0) SetListIndex(std::clamp(to, 0, ListCount() - 1));
}

void ListBox::KeyDown(int keyCode, int shift, bool repeat) {
    (void)shift, (void)repeat;
    MoveSelection(keyCode);
}

// Three lines a notch, towards the top for a turn away from the user.
bool ListBox::MouseWheel(int delta, int shift) {
    (void)shift;
    SetTopIndex(topIndex_ - 3 * (delta / 120));
    return true;
}

void ListBox::SetTabStops(std::vector<int> stops) {
    std::sort(stops.begin(), stops.end());
    tabStops_ = std::move(stops);
    Refresh();
}

void ListBox::ReadProperties(PropertyBag& bag) {
    std::string list = bag.ReadProperty("List", Variant("")).ToString();
    items_.clear();
    // The design-time items are one string, one item a line.
    std::size_t start = 0;
    while (!list.empty() && start <= list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string::npos) end = list.size();
        items_.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

void ListBox::WriteProperties(PropertyBag& bag) {
    std::string list;
    for (std::size_t i = 0; i < items_.size(); ++i) list += (i ? "\n" : "") + items_[i];
    bag.WriteProperty("List", Variant(list), Variant(""));
}

void ListBox::Paint() {
    HDC dc = hDC();
    RECT r = ClientOf(hWnd());
    FillWith(dc, r, GetSysColor(COLOR_WINDOW));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    int lineHeight = std::max<int>(1, tm.tmHeight);
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = static_cast<std::size_t>(std::max(topIndex_, 0)); i < items_.size(); ++i) {
        int y = (static_cast<int>(i) - topIndex_) * lineHeight;
        if (y >= r.bottom) break;
        bool selected = static_cast<std::int32_t>(i) == listIndex_;
        if (selected) FillWith(dc, RECT{0, y, r.right, y + lineHeight}, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        // Each tab moves to the next tab stop (dialog units: a quarter of the average character).
        const std::string& item = items_[i];
        std::size_t start = 0, column = 0;
        int x = 2;
        while (true) {
            std::size_t tab = item.find('\t', start);
            std::string part = item.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            TextOutA(dc, x, y, part.c_str(), static_cast<int>(part.size()));
            if (tab == std::string::npos) break;
            int stop = column < tabStops_.size() ? tabStops_[column] : static_cast<int>(column + 1) * 32;
            x = 2 + stop * tm.tmAveCharWidth / 4;
            ++column;
            start = tab + 1;
        }
    }
    if (ShowsFocusRect(*this)) {
        // Round the current line: the selection, or the first line shown when none is chosen.
        const std::int32_t current = listIndex_ >= 0 ? listIndex_ : topIndex_;
        const int y = (current - topIndex_) * lineHeight;
        RECT frame{0, y, r.right, y + lineHeight};
        if (y >= 0 && y < r.bottom) DrawFocusRect(dc, &frame);
    }
}

void ListBox::MouseDown(int button, int shift, float x, float y) {
    (void)button, (void)shift, (void)x;
    int row = topIndex_ + ScaleToPixelsY(y) / LineHeight();
    if (row >= 0 && row < ListCount()) SetListIndex(row);
}

}  // namespace brimlox::host
