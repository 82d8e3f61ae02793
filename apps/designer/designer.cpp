// The designer's windows: the designer window with the toolbox, buttons and property grid,
// and one design window per open document.
#include "apps/designer/designer.h"

#include <algorithm>
#include <charconv>

#include "platform/host/design_environment.h"
#include "platform/host/runtime.h"

namespace brimlox::designer {

namespace {

constexpr int kMarginPx = 8;
constexpr int kToolboxHeightPx = 196;
constexpr int kButtonWidthPx = 68;
constexpr int kButtonHeightPx = 23;
constexpr int kButtonGapPx = 3;
constexpr int kButtonRows = 3;
constexpr int kStatusHeightPx = 34;
// Design windows cascade by this much from the first one's place.
constexpr int kCascadePx = 24;

int ButtonsTop() { return kMarginPx + kToolboxHeightPx + kMarginPx; }
int GridTop() { return ButtonsTop() + kButtonRows * (kButtonHeightPx + kButtonGapPx) + kMarginPx; }

void MoveInPixels(host::Control& control, int x, int y, int w, int h) {
    const int tpp = host::TwipsPerPixel();
    control.Move(x * tpp, y * tpp, w * tpp, h * tpp);
}

}  // namespace

Designer::Designer() {
    host::StartHost();
    CreateWindow();
    InstallKeys();
}

Designer::~Designer() {
    RemoveKeys();
    closing_ = true;
    menuFrame_.reset();
    if (running_ && !running_->Unloaded()) running_->Discard();
    running_.reset();
    if (saveAsDialog_ && !saveAsDialog_->Unloaded()) saveAsDialog_->Discard();
    grid_.reset();
    toolbox_.reset();
    for (auto& open : documents_) {
        for (std::size_t id : open->listeners) open->document->RemoveListener(id);
        open->surface.reset();
        auto form = open->document->FormPtr();
        open->document.reset();
        if (form && !form->Unloaded()) form->Discard();
    }
    documents_.clear();
    if (window_ && !window_->Unloaded()) window_->Discard();
}

void Designer::CreateWindow() {
    window_ = host::Form::Create("frmDesigner");
    window_->SetBorderStyle(1);
    window_->SetMaxButton(false);
    const int tpp = host::TwipsPerPixel();
    window_->Move(0, 0, 640 * tpp, 480 * tpp);
    const int frameW = window_->Width() - static_cast<int>(window_->ScaleWidth());
    const int frameH = window_->Height() - static_cast<int>(window_->ScaleHeight());
    window_->Move(0, 0, kWindowWidthPx * tpp + frameW, kWindowHeightPx * tpp + frameH);
    toolbox_ = std::make_unique<Toolbox>(
        window_, RECT{kMarginPx, kMarginPx, kWindowWidthPx - kMarginPx, kMarginPx + kToolboxHeightPx});
    toolbox_->SetPickHandler([this](const std::string& type) {
        for (auto& open : documents_) open->surface->SetPlacingType(type);
    });
    CreateButtons();
    CreateGridBox();
    status_ = std::static_pointer_cast<host::Label>(window_->Add("Label", "lblStatus"));
    MoveInPixels(*status_, kMarginPx, kWindowHeightPx - kStatusHeightPx, kWindowWidthPx - 2 * kMarginPx,
                 kStatusHeightPx - 4);
    status_->SetCaption("");
    window_->Connect("QueryUnload", [this](std::span<host::Variant> a) {
        if (closing_ || a.empty()) return;
        // Closing the designer closes every design window, each asking about its changes.
        while (!documents_.empty()) {
            if (!Close(*documents_.back()->document)) {
                a[0] = host::Variant(true);
                return;
            }
        }
    });
    UpdateTitle();
    window_->Show();
}

std::shared_ptr<host::CommandButton> Designer::AddButton(const char* name, const char* caption, int column,
                                                         int row) {
    auto b = std::static_pointer_cast<host::CommandButton>(window_->Add("CommandButton", name));
    MoveInPixels(*b, kMarginPx + column * (kButtonWidthPx + kButtonGapPx),
                 ButtonsTop() + row * (kButtonHeightPx + kButtonGapPx), kButtonWidthPx, kButtonHeightPx);
    b->SetCaption(caption);
    return b;
}

void Designer::CreateButtons() {
    struct Entry {
        const char* name;
        const char* caption;
        std::function<void()> run;
    };
    const Entry entries[] = {
        {"cmdSave", "Save", [this] { Save(); }},
        {"cmdSaveAs", "Save As...", [this] { AskSaveAs(); }},
        {"cmdUndo", "Undo", [this] { Undo(); }},
        {"cmdRedo", "Redo", [this] { Redo(); }},
        {"cmdCut", "Cut", [this] { Cut(); }},
        {"cmdCopy", "Copy", [this] { Copy(); }},
        {"cmdPaste", "Paste", [this] { Paste(); }},
        {"cmdDelete", "Delete", [this] { Delete(); }},
        {"cmdFront", "To Front", [this] { ZOrder(false); }},
        {"cmdBack", "To Back", [this] { ZOrder(true); }},
        {"cmdRun", "Run (F5)", [this] { Run(); }},
    };
    int i = 0;
    for (const Entry& e : entries) {
        auto b = AddButton(e.name, e.caption, i % 4, i / 4);
        b->Connect("Click", [run = e.run](std::span<host::Variant>) { run(); });
        ++i;
    }
}

// "Grid" and a box with the grid's size in twips, in the last place of the button rows.
void Designer::CreateGridBox() {
    const int x = kMarginPx + 3 * (kButtonWidthPx + kButtonGapPx);
    const int y = ButtonsTop() + 2 * (kButtonHeightPx + kButtonGapPx);
    auto label = std::static_pointer_cast<host::Label>(window_->Add("Label", "lblGrid"));
    MoveInPixels(*label, x, y + 4, 26, kButtonHeightPx - 4);
    label->SetCaption("Grid");
    gridBox_ = std::static_pointer_cast<host::TextBox>(window_->Add("TextBox", "txtGrid"));
    MoveInPixels(*gridBox_, x + 28, y + 1, kButtonWidthPx - 28, kButtonHeightPx - 2);
    gridBox_->SetText(std::to_string(gridTwips_));
    gridBox_->Connect("Change", [this](std::span<host::Variant>) { GridBoxTyped(); });
}

// The grid follows the box as it is typed into; text that is no size leaves the grid as it was
// and says so on the status line.
void Designer::GridBoxTyped() {
    const std::string text = gridBox_->Text();
    std::int32_t twips = -1;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), twips);
    if (ec != std::errc() || end != text.data() + text.size() || !SetGridTwips(twips)) {
        status_->SetCaption("The grid is a number of twips from 0 (no grid) to " + std::to_string(kMaxGridTwips) +
                            "; it stays " + std::to_string(gridTwips_) + ".");
        return;
    }
    UpdateTitle();
}

bool Designer::SetGridTwips(std::int32_t twips) {
    if (twips < 0 || twips > kMaxGridTwips) return false;
    gridTwips_ = twips;
    for (auto& open : documents_) open->surface->SetGridTwips(twips);
    if (gridBox_ && gridBox_->Text() != std::to_string(twips)) gridBox_->SetText(std::to_string(twips));
    return true;
}

DesignDocument& Designer::Open(const std::string& path) {
    auto open = std::make_unique<OpenForm>();
    open->document = DesignDocument::Open(path);
    DesignDocument& document = *open->document;
    PlaceDesignWindow(document.Form(), documents_.size());
    open->surface = std::make_unique<DesignSurface>(document);
    open->surface->SetPlacingType(toolbox_->Picked());
    open->surface->SetGridTwips(gridTwips_);
    open->surface->SetPlacedHandler([this] { toolbox_->Pick(""); });
    ConnectDesignWindow(*open);
    documents_.push_back(std::move(open));
    document.Form().Show();
    Activate(document);
    if (!document.Problems().empty()) {
        std::string text = "Some of " + path + " could not be opened and was left out:";
        for (const std::string& problem : document.Problems()) text += "\r\n" + problem;
        host::MsgBox(text, MB_ICONEXCLAMATION, std::string(host::DesignEnvironmentProduct()));
    }
    return document;
}

// Design windows open to the right of the designer window, cascading.
void Designer::PlaceDesignWindow(host::Form& form, std::size_t order) {
    const int tpp = host::TwipsPerPixel();
    const int offset = static_cast<int>(order % 8) * kCascadePx;
    form.Move(window_->Left() + window_->Width() + (kMarginPx + offset) * tpp, window_->Top() + offset * tpp,
              form.Width(), form.Height());
}

void Designer::ConnectDesignWindow(OpenForm& open) {
    DesignDocument* document = open.document.get();
    open.listeners.push_back(document->AddSelectionListener([this, document] {
        if (active_ != document) Activate(*document);
    }));
    open.listeners.push_back(document->AddModifiedListener([this, document] {
        if (active_ == document) UpdateTitle();
    }));
    document->Form().Connect("QueryUnload", [this, document](std::span<host::Variant> a) {
        if (closing_ || a.empty()) return;
        if (!AskToSave(*document)) {
            a[0] = host::Variant(true);
            return;
        }
    });
    document->Form().Connect("Terminate", [this, document](std::span<host::Variant>) {
        if (!closing_) Forget(*document);
    });
}

DesignDocument* Designer::Active() { return active_; }

void Designer::Activate(DesignDocument& document) {
    if (!Find(document)) return;
    active_ = &document;
    if (!grid_) {
        const RECT area{kMarginPx, GridTop(), kWindowWidthPx - kMarginPx, kWindowHeightPx - kStatusHeightPx - 4};
        grid_ = std::make_unique<PropertyGrid>(window_, area, document);
        grid_->SetMenuEditorHandler([this](std::shared_ptr<host::Control> control) { EditMenu(std::move(control)); });
    } else {
        grid_->SetDocument(document);
    }
    UpdateTitle();
}

Designer::OpenForm* Designer::Find(const DesignDocument& document) {
    for (auto& open : documents_)
        if (open->document.get() == &document) return open.get();
    return nullptr;
}

std::string Designer::Title() const {
    std::string title(host::DesignEnvironmentProduct());
    if (active_) title += " - " + active_->Form().Name();
    title += running_ ? " [run]" : " [design]";
    return title;
}

void Designer::UpdateTitle() {
    if (!window_ || window_->Unloaded()) return;
    window_->SetCaption(Title());
    if (active_) {
        std::string line = active_->Path();
        if (active_->Modified()) line += " (changed)";
        status_->SetCaption(line);
    }
}

void Designer::ShowError(const std::string& text) {
    host::MsgBox(text, MB_ICONEXCLAMATION, std::string(host::DesignEnvironmentProduct()));
}

}  // namespace brimlox::designer
