// What the Menu page does when the user works it: selecting a line shows its item, typing and
// clicking store into the page's copy of the items, Insert and Remove move lines. A loading
// flag keeps the handlers from storing while the page itself fills the boxes.
#include <algorithm>

#include "menus/editor/menu_page.h"
#include "platform/host/host_error.h"
#include "platform/host/runtime.h"

namespace brimlox::menus {

namespace {

// A check box shows any non-zero state as checked.
std::int16_t CheckValue(std::int32_t state) { return state != 0 ? 1 : 0; }

// Sets a box's value while the page loads, so its handler stores nothing.
class LoadingScope {
public:
    explicit LoadingScope(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~LoadingScope() { flag_ = was_; }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    bool& flag_;
    bool was_;
};

}  // namespace

void MenuPage::On(const std::shared_ptr<host::Control>& control, const std::string& event,
                  std::function<void()> handler) {
    int id = control->Connect(event, [handler = std::move(handler)](std::span<host::Variant>) { handler(); });
    connections_.emplace_back(control, id);
}

void MenuPage::ConnectEvents() {
    ConnectItemEvents();
    ConnectChooserEvents();
}

void MenuPage::ConnectItemEvents() {
    On(lstMenu_, "Click", [this] {
        if (!loading_) ShowLine(lstMenu_->ListIndex());
    });
    On(txtMenuCaption_, "Change", [this] { CaptionTyped(); });
    On(txtMenuTag_, "Change", [this] { TagTyped(); });
    FlagClicked(*chkMenuEnabled_, [](MenuPageItem& item, std::int16_t v) { item.enabled = v != 0; });
    FlagClicked(*chkMenuVisible_, [](MenuPageItem& item, std::int16_t v) { item.visible = v != 0; });
    FlagClicked(*chkMenuChecked_, [](MenuPageItem& item, std::int16_t v) { item.checked = v != 0 ? 1 : 0; });
    FlagClicked(*chkMenuAutoCheck_, [](MenuPageItem& item, std::int16_t v) { item.autoCheck = v != 0; });
    FlagClicked(*chkMenuRadio_, [](MenuPageItem& item, std::int16_t v) { item.radio = v != 0 ? 1 : 0; });
    On(chkWindowList_, "Click", [this] {
        if (loading_) return;
        model_.SetWindowList(chkWindowList_->Value() != 0);
        MarkChanged();
    });
    On(cmdInsert_, "Click", [this] { InsertClicked(); });
    On(cmdRemove_, "Click", [this] { RemoveClicked(); });
    for (int i = 0; i < 2; ++i) On(cmdIcon_[i], "Click", [this, i] { OpenChooser(i); });
}

void MenuPage::FlagClicked(host::CheckBox& box, const std::function<void(MenuPageItem&, std::int16_t)>& store) {
    On(std::static_pointer_cast<host::Control>(box.shared_from_this()), "Click", [this, &box, store] {
        if (loading_) return;
        store(EditSelected(), box.Value());
        MarkChanged();
    });
}

std::int32_t MenuPage::SelectedLine() const { return std::max(lstMenu_->ListIndex(), 0); }

// The item of the selected line; the empty last line becomes an item and a new empty line is
// added below it.
MenuPageItem& MenuPage::EditSelected() {
    const auto line = static_cast<std::size_t>(SelectedLine());
    const bool wasLast = line == model_.Count();
    MenuPageItem& item = model_.Edit(line);
    if (wasLast) {
        LoadingScope scope(loading_);
        lstMenu_->AddItem("");
    }
    return item;
}

void MenuPage::RefreshLine(std::size_t line) {
    LoadingScope scope(loading_);
    const std::string text = line < model_.Count() ? MenuPageModel::ListLine(model_.Item(line).caption) : "";
    if (lstMenu_->List(static_cast<std::int32_t>(line)) == text) return;
    const std::int32_t selected = lstMenu_->ListIndex();
    lstMenu_->RemoveItem(static_cast<std::int32_t>(line));
    lstMenu_->AddItem(text, static_cast<std::int32_t>(line));
    lstMenu_->SetListIndex(selected);
}

void MenuPage::CaptionTyped() {
    if (loading_) return;
    try {
        MenuPageItem& item = EditSelected();
        item.caption = txtMenuCaption_->Text();
        RefreshLine(static_cast<std::size_t>(SelectedLine()));
        MarkChanged();
    } catch (const host::HostError& e) {
        host::MsgBox(e.what());
    }
}

void MenuPage::TagTyped() {
    if (loading_) return;
    try {
        EditSelected().tag = txtMenuTag_->Text();
        MarkChanged();
    } catch (const host::HostError& e) {
        host::MsgBox(e.what());
    }
}

void MenuPage::InsertClicked() {
    const std::int32_t line = SelectedLine();
    try {
        model_.Insert(static_cast<std::size_t>(line));
    } catch (const host::HostError& e) {
        host::MsgBox(e.what());
        return;
    }
    {
        LoadingScope scope(loading_);
        lstMenu_->AddItem("", line);
    }
    ShowLine(line);
    MarkChanged();
}

void MenuPage::RemoveClicked() {
    const std::int32_t line = SelectedLine();
    if (static_cast<std::size_t>(line) >= model_.Count()) return;  // the empty last line stays
    model_.Remove(static_cast<std::size_t>(line));
    {
        LoadingScope scope(loading_);
        lstMenu_->RemoveItem(line);
    }
    ShowLine(std::min(line, lstMenu_->ListCount() - 1));
    MarkChanged();
}

// Selects `line` and shows its item in the boxes; the empty last line shows a new item.
void MenuPage::ShowLine(std::int32_t line) {
    LoadingScope scope(loading_);
    line = std::clamp(line, 0, lstMenu_->ListCount() - 1);
    lstMenu_->SetListIndex(line);
    const MenuPageItem blank;
    const MenuPageItem& item =
        static_cast<std::size_t>(line) < model_.Count() ? model_.Item(static_cast<std::size_t>(line)) : blank;
    txtMenuCaption_->SetText(item.caption);
    txtMenuTag_->SetText(item.tag);
    chkMenuEnabled_->SetValue(CheckValue(item.enabled));
    chkMenuVisible_->SetValue(CheckValue(item.visible));
    chkMenuChecked_->SetValue(CheckValue(item.checked));
    chkMenuAutoCheck_->SetValue(CheckValue(item.autoCheck));
    chkMenuRadio_->SetValue(CheckValue(item.radio));
    ShowPreviews();
}

void MenuPage::FillList() {
    LoadingScope scope(loading_);
    lstMenu_->Clear();
    for (std::size_t i = 0; i < model_.Count(); ++i) lstMenu_->AddItem(MenuPageModel::ListLine(model_.Item(i).caption));
    lstMenu_->AddItem("");
    chkWindowList_->SetValue(model_.WindowList() ? 1 : 0);
    ShowLine(0);
}

void MenuPage::MarkChanged() {
    changed_ = true;
    if (onChanged_) onChanged_();
}

void MenuPage::SelectionChanged(const std::vector<std::shared_ptr<host::Control>>& selected) {
    CloseChooser();
    target_.reset();
    model_ = MenuPageModel{};
    if (!selected.empty() && selected.front()) {
        target_ = selected.front();
        model_.Load(*selected.front());
    }
    FillList();
    changed_ = false;
}

void MenuPage::ApplyChanges() {
    if (ChooserOpen()) ConfirmChooser();
    auto target = target_.lock();
    if (!target) return;
    model_.Apply(*target, [](const std::string& text) { host::MsgBox(text); });
    // Corrected captions show in the list and, for the selected line, in the caption box.
    const std::int32_t line = SelectedLine();
    FillList();
    ShowLine(line);
    changed_ = false;
}

}  // namespace brimlox::menus
