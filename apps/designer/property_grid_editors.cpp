// The property grid's font editor and picture chooser. Each ends by handing the grid the text
// the chosen value is typed as ("Arial, 10, Bold" or a picture file's path), so that a value
// chosen here goes the same way as a typed one.
#include <cstdlib>
#include <filesystem>

#include "apps/designer/property_grid_view.h"
#include "platform/host/font.h"
#include "platform/host/runtime.h"

namespace brimlox::designer {

namespace {

namespace fs = std::filesystem;

const PropertyRow* RowNamed(const std::vector<PropertyRow>& rows, const std::string& name) {
    for (const auto& row : rows)
        if (row.name == name) return &row;
    return nullptr;
}

// The user's home folder, or the current folder when there is none.
std::string StartFolder() {
    std::error_code ec;
    const char* home = std::getenv("HOME");
    if (home && fs::is_directory(home, ec)) return home;
    return fs::current_path(ec).string();
}

}  // namespace

void PropertyGridView::OpenFontEditor() {
    const PropertyRow* row = RowNamed(rows_, chosen_);
    auto font = row ? row->value.As<host::StdFont>() : nullptr;
    if (!font) return;
    std::int32_t line = -1;
    for (std::int32_t i = 0; i < fontNames_->ListCount(); ++i)
        if (fontNames_->List(i) == font->Name()) line = i;
    if (line < 0) {
        // A face the list does not offer is still the one to keep.
        fontNames_->AddItem(font->Name(), 0);
        line = 0;
    }
    fontNames_->SetListIndex(line);
    fontSize_->SetText(host::FormatNumber(font->Size(), 7));
    fontBold_->SetValue(font->Bold() ? 1 : 0);
    fontItalic_->SetValue(font->Italic() ? 1 : 0);
    fontFrame_->SetVisible(true);
    fontFrame_->ZOrder(0);
}

void PropertyGridView::ConfirmFont() {
    std::string text = fontNames_->Text() + ", " + fontSize_->Text();
    if (fontBold_->Value() == 1 || fontItalic_->Value() == 1) {
        text += ",";
        if (fontBold_->Value() == 1) text += " Bold";
        if (fontItalic_->Value() == 1) text += " Italic";
    }
    // A refused size leaves the editor open for correction.
    if (ApplyText(text)) CloseEditors();
}

void PropertyGridView::OpenPictureChooser() {
    if (dirList_->Path().empty()) host::TryInvoke([&] { dirList_->SetPath(StartFolder()); });
    host::TryInvoke([&] { fileList_->SetPath(dirList_->Path()); });
    pictureFrame_->SetVisible(true);
    pictureFrame_->ZOrder(0);
}

void PropertyGridView::ConfirmPicture(bool none) {
    std::string text = "(None)";
    if (!none) {
        if (fileList_->FileName().empty()) return;
        text = (fs::path(fileList_->Path()) / fileList_->FileName()).string();
    }
    if (ApplyText(text)) CloseEditors();
}

}  // namespace brimlox::designer
