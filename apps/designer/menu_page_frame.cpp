// The Menu page's frame: a fixed dialog form holding the page and its button row.
#include "apps/designer/menu_page_frame.h"

#include "foundation/persistence/layout_restore.h"

namespace brimlox::designer {

MenuPageFrame::MenuPageFrame(std::shared_ptr<host::Control> control, std::function<bool()> onApplied)
    : control_(std::move(control)), onApplied_(std::move(onApplied)) {
    form_ = host::Form::Create("frmMenuPage");
    form_->SetCaption("Menu - " + control_->Name());
    form_->SetBorderStyle(3);
    page_ = std::make_unique<menus::MenuPage>(form_, foundation::ProcessSettingsStore());
    AddButtons();
    SizeToPage();
    page_->SelectionChanged({control_});
    page_->SetChangedHandler([this] { apply_->SetEnabled(true); });
}

MenuPageFrame::~MenuPageFrame() {
    page_.reset();
    if (form_ && form_->Loaded() && !form_->Unloaded()) form_->Unload();
}

std::shared_ptr<host::CommandButton> MenuPageFrame::Button(const char* name, const char* caption, int x) {
    const int tpp = host::TwipsPerPixel();
    auto b = std::static_pointer_cast<host::CommandButton>(form_->Add("CommandButton", name));
    b->Move(x * tpp, (menus::MenuPage::kHeightPx + 6) * tpp, 80 * tpp, 25 * tpp);
    b->SetCaption(caption);
    return b;
}

void MenuPageFrame::AddButtons() {
    const int right = menus::MenuPage::kWidthPx - 8;
    auto ok = Button("cmdOK", "OK", right - 3 * 80 - 16);
    auto cancel = Button("cmdCancel", "Cancel", right - 2 * 80 - 8);
    apply_ = Button("cmdApply", "Apply", right - 80);
    apply_->SetEnabled(false);
    ok->Connect("Click", [this](std::span<host::Variant>) {
        if (!page_->Changed() || Apply()) form_->Unload();
    });
    cancel->Connect("Click", [this](std::span<host::Variant>) { form_->Unload(); });
    apply_->Connect("Click", [this](std::span<host::Variant>) { Apply(); });
}

// The client area holds the page and the button row; the frame comes on top of it.
void MenuPageFrame::SizeToPage() {
    const int tpp = host::TwipsPerPixel();
    form_->Move(0, 0, 600 * tpp, 400 * tpp);
    const int frameW = form_->Width() - static_cast<int>(form_->ScaleWidth());
    const int frameH = form_->Height() - static_cast<int>(form_->ScaleHeight());
    form_->Move(0, 0, menus::MenuPage::kWidthPx * tpp + frameW,
                (menus::MenuPage::kHeightPx + kButtonBandPx) * tpp + frameH);
}

bool MenuPageFrame::Apply() {
    page_->ApplyChanges();
    if (onApplied_ && !onApplied_()) return false;
    apply_->SetEnabled(false);
    return true;
}

}  // namespace brimlox::designer
