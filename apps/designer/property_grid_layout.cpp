// The property grid's controls and their places, and the lines of its list.
#include <algorithm>

#include "apps/designer/property_grid_view.h"
#include "platform/host/keyboard.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace brimlox::designer {

namespace {

constexpr int kRowHeightPx = 22;   // the editor line above the list
constexpr int kButtonWidthPx = 22;
constexpr int kDropDownLines = 8;

// Face names the font editor offers; the platform maps each to an installed face.
constexpr const char* kFontFaces[] = {"Arial", "Courier New", "MS Sans Serif", "Tahoma", "Times New Roman", "Verdana"};

void Place(host::Control& control, int left, int top, int width, int height) {
    const int tpp = host::TwipsPerPixel();
    control.Move(left * tpp, top * tpp, std::max(width, 1) * tpp, std::max(height, 1) * tpp);
}

}  // namespace

template <typename T>
std::shared_ptr<T> PropertyGridView::Add(const std::string& type, const std::string& name, host::Control* container) {
    return std::dynamic_pointer_cast<T>(form_->Add(type, name, container));
}

void PropertyGridView::Connect(host::Control& control, const std::string& event, std::function<void()> handler) {
    const int id = control.Connect(event, [handler = std::move(handler)](auto) { handler(); });
    connections_.emplace_back(std::static_pointer_cast<host::Control>(control.shared_from_this()), id);
}

PropertyGridView::PropertyGridView(std::shared_ptr<host::Form> form, RECT area) : form_(std::move(form)) {
    BuildList(area);
    RECT below = area;
    below.top += kRowHeightPx + 2;
    BuildFontEditor(below);
    BuildPictureChooser(below);
    HookEditor();
}

PropertyGridView::~PropertyGridView() {
    // The form owns the controls and may outlive the grid; the handlers must not.
    for (auto& [control, id] : connections_) control->Disconnect(id);
    UnhookEditor();
}

void PropertyGridView::BuildList(RECT area) {
    const int width = area.right - area.left;
    editor_ = Add<host::TextBox>("TextBox", "txtPropertyValue");
    Place(*editor_, area.left, area.top, width - kButtonWidthPx, kRowHeightPx);
    editor_->SetText("");
    button_ = Add<host::CommandButton>("CommandButton", "cmdPropertyValue");
    Place(*button_, area.right - kButtonWidthPx, area.top, kButtonWidthPx, kRowHeightPx);
    button_->SetCaption("...");
    button_->SetEnabled(false);
    list_ = Add<host::ListBox>("ListBox", "lstProperties");
    Place(*list_, area.left, area.top + kRowHeightPx + 2, width, area.bottom - area.top - kRowHeightPx - 2);
    // The value column starts halfway across, in dialog units (4 to an average character).
    TEXTMETRICA tm{};
    GetTextMetricsA(list_->hDC(), &tm);
    list_->SetTabStops({(width / 2) * 4 / std::max<int>(tm.tmAveCharWidth, 1)});
    // The drop-down lies over the list, below the editor, and is created last to be on top.
    dropDown_ = Add<host::ListBox>("ListBox", "lstPropertyValues");
    Place(*dropDown_, area.left, area.top + kRowHeightPx, width - kButtonWidthPx,
          std::min<int>(kDropDownLines * tm.tmHeight + 4, area.bottom - area.top - kRowHeightPx));
    dropDown_->SetVisible(false);
    Connect(*list_, "Click", [this] { ListClicked(); });
    Connect(*button_, "Click", [this] { ButtonClicked(); });
    Connect(*dropDown_, "Click", [this] { DropDownClicked(); });
}

void PropertyGridView::BuildFontEditor(RECT area) {
    const int width = area.right - area.left;
    fontFrame_ = Add<host::Frame>("Frame", "fraFont");
    Place(*fontFrame_, area.left, area.top, width, std::min<int>(area.bottom - area.top, 190));
    fontFrame_->SetCaption("Font");
    fontNames_ = Add<host::ListBox>("ListBox", "lstFontName", fontFrame_.get());
    Place(*fontNames_, 8, 18, width - 16, 96);
    for (const char* face : kFontFaces) fontNames_->AddItem(face);
    fontSize_ = Add<host::TextBox>("TextBox", "txtFontSize", fontFrame_.get());
    Place(*fontSize_, 8, 120, 60, 22);
    fontBold_ = Add<host::CheckBox>("CheckBox", "chkFontBold", fontFrame_.get());
    Place(*fontBold_, 76, 120, 60, 22);
    fontBold_->SetCaption("Bold");
    fontItalic_ = Add<host::CheckBox>("CheckBox", "chkFontItalic", fontFrame_.get());
    Place(*fontItalic_, 140, 120, 60, 22);
    fontItalic_->SetCaption("Italic");
    auto ok = Add<host::CommandButton>("CommandButton", "cmdFontOk", fontFrame_.get());
    Place(*ok, 8, 150, 75, 25);
    ok->SetCaption("OK");
    auto cancel = Add<host::CommandButton>("CommandButton", "cmdFontCancel", fontFrame_.get());
    Place(*cancel, 90, 150, 75, 25);
    cancel->SetCaption("Cancel");
    fontFrame_->SetVisible(false);
    Connect(*ok, "Click", [this] { ConfirmFont(); });
    Connect(*cancel, "Click", [this] { CloseEditors(); });
}

void PropertyGridView::BuildPictureChooser(RECT area) {
    const int width = area.right - area.left;
    const int height = std::min<int>(area.bottom - area.top, 300);
    pictureFrame_ = Add<host::Frame>("Frame", "fraPicture");
    Place(*pictureFrame_, area.left, area.top, width, height);
    pictureFrame_->SetCaption("Picture");
    driveList_ = Add<host::DriveListBox>("DriveListBox", "drvPicture", pictureFrame_.get());
    Place(*driveList_, 8, 18, width - 16, 22);
    const int lists = (height - 18 - 26 - 36) / 2;
    dirList_ = Add<host::DirListBox>("DirListBox", "dirPicture", pictureFrame_.get());
    Place(*dirList_, 8, 44, width - 16, lists);
    fileList_ = Add<host::FileListBox>("FileListBox", "filPicture", pictureFrame_.get());
    Place(*fileList_, 8, 48 + lists, width - 16, lists);
    auto ok = Add<host::CommandButton>("CommandButton", "cmdPictureOk", pictureFrame_.get());
    Place(*ok, 8, height - 32, 60, 25);
    ok->SetCaption("OK");
    auto none = Add<host::CommandButton>("CommandButton", "cmdPictureNone", pictureFrame_.get());
    Place(*none, 74, height - 32, 60, 25);
    none->SetCaption("(None)");
    auto cancel = Add<host::CommandButton>("CommandButton", "cmdPictureCancel", pictureFrame_.get());
    Place(*cancel, 140, height - 32, 60, 25);
    cancel->SetCaption("Cancel");
    pictureFrame_->SetVisible(false);
    // The lists follow each other: the drive sets the folder, the folder the files.
    Connect(*driveList_, "Change", [this] { host::TryInvoke([&] { dirList_->SetPath(driveList_->Drive()); }); });
    Connect(*dirList_, "Change", [this] { host::TryInvoke([&] { fileList_->SetPath(dirList_->Path()); }); });
    Connect(*fileList_, "DblClick", [this] { ConfirmPicture(false); });
    Connect(*ok, "Click", [this] { ConfirmPicture(false); });
    Connect(*none, "Click", [this] { ConfirmPicture(true); });
    Connect(*cancel, "Click", [this] { CloseEditors(); });
}

void PropertyGridView::Show(const PropertyRows& rows) {
    rows_ = rows.Rows();
    hasMenu_ = rows.HasMenu();
    FillList();
}

void PropertyGridView::FillList() {
    filling_ = true;
    list_->Clear();
    if (hasMenu_) list_->AddItem(std::string(kMenuLine) + "\t");
    std::int32_t chosenLine = -1;
    for (const auto& row : rows_) {
        if (row.name == chosen_) chosenLine = list_->ListCount();
        list_->AddItem(row.name + "\t" + row.text);
    }
    const std::int32_t top = list_->TopIndex();
    list_->SetListIndex(chosenLine);
    list_->SetTopIndex(top);
    filling_ = false;
    // A row that went (another selection) leaves nothing to edit.
    if (chosenLine < 0) {
        chosen_.clear();
        CloseEditors();
        editor_->SetText("");
        button_->SetEnabled(false);
    } else if (!host::HasFocus(*editor_)) {
        editor_->SetText(rows_[static_cast<std::size_t>(chosenLine - (hasMenu_ ? 1 : 0))].text);
    }
}

}  // namespace brimlox::designer
