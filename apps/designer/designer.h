// Designer: the design environment a person works in. Each open form file is a document with
// its own framed design window and design surface; one designer window beside them holds the
// toolbox, the command buttons and the property grid, and follows the active document (the
// one whose form was last clicked, opened or activated). Its title reads
// "<product> - <form> [design]", and " [run]" while a form started from it runs.
//
// Commands act on the active document, from the buttons, from keys anywhere in the designer's
// windows (Ctrl+S save, Ctrl+Z undo, Ctrl+Y redo, Ctrl+X/C/V cut, copy and paste, F5 run) or
// called directly:
//   - Save writes the form file atomically; Save As asks for a path first;
//   - cut and copy put a form-file fragment on the clipboard, paste takes one from it (so two
//     design windows, or two designers, exchange controls);
//   - Run starts the form as it stands as a running form where the design window was, and the
//     design window comes back when it closes;
//   - closing a design window with unsaved changes asks whether to save them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/designer/design_document.h"
#include "apps/designer/design_surface.h"
#include "apps/designer/menu_page_frame.h"
#include "apps/designer/property_grid.h"
#include "apps/designer/toolbox.h"
#include "platform/host/form.h"
#include "platform/host/standard_controls.h"

namespace brimlox::designer {

class Designer {
public:
    // The designer window's client size in pixels; design windows open to its right.
    static constexpr int kWindowWidthPx = 300;
    static constexpr int kWindowHeightPx = 720;

    Designer();
    ~Designer();
    Designer(const Designer&) = delete;
    Designer& operator=(const Designer&) = delete;

    // Opens a form file (a new form when it does not exist) in its own design window and makes
    // it the active document. Problems found in the file are told in one message box. Throws
    // host::FormFileError when nothing of the file can be read.
    DesignDocument& Open(const std::string& path);
    std::size_t DocumentCount() const { return documents_.size(); }
    DesignDocument& Document(std::size_t i) { return *documents_[i]->document; }
    DesignSurface& Surface(std::size_t i) { return *documents_[i]->surface; }
    // The active document, nullptr once every design window is closed.
    DesignDocument* Active();
    void Activate(DesignDocument& document);

    host::Form& Window() { return *window_; }
    Toolbox& Tools() { return *toolbox_; }
    PropertyGrid& Grid() { return *grid_; }
    std::string Title() const;
    // The grid every design window snaps to, in twips (0: no snapping); the box beside the
    // buttons sets it. Values outside 0 to kMaxGridTwips are refused (false).
    static constexpr std::int32_t kMaxGridTwips = 1440;
    std::int32_t GridTwips() const { return gridTwips_; }
    bool SetGridTwips(std::int32_t twips);

    // ---- commands on the active document ------------------------------------------------
    // False when nothing was written (the message was shown).
    bool Save();
    bool SaveAs(const std::string& path);
    // Opens the Save As dialog (a path box with OK and Cancel).
    void AskSaveAs();
    void Undo();
    void Redo();
    void Cut();
    void Copy();
    // False when the clipboard held no form fragment (the message was shown).
    bool Paste();
    void Delete();
    void ZOrder(bool toBack);
    // Starts the form as a running form; nothing happens while one runs already.
    void Run();
    bool Running() const { return running_ != nullptr; }
    host::Form* RunningForm() const { return running_.get(); }
    // Opens the Menu page for a control of the active document; applying it is one undo step.
    void EditMenu(std::shared_ptr<host::Control> control);
    MenuPageFrame* MenuFrame() { return menuFrame_.get(); }
    // Closes a document's design window, asking first when it has unsaved changes; false when
    // the person chose Cancel or the save failed. The designer closes with its last document.
    bool Close(DesignDocument& document);

private:
    struct OpenForm {
        std::unique_ptr<DesignDocument> document;
        std::unique_ptr<DesignSurface> surface;
        std::vector<std::size_t> listeners;  // the designer's listeners on the document
    };

    void CreateWindow();
    void CreateButtons();
    void CreateGridBox();
    void GridBoxTyped();
    std::shared_ptr<host::CommandButton> AddButton(const char* name, const char* caption, int column, int row);
    void PlaceDesignWindow(host::Form& form, std::size_t order);
    void ConnectDesignWindow(OpenForm& open);
    bool AskToSave(DesignDocument& document);
    void Forget(DesignDocument& document);
    void UpdateTitle();
    void RunEnded();
    OpenForm* Find(const DesignDocument& document);
    void InstallKeys();
    void RemoveKeys();
    void ShowError(const std::string& text);

    std::shared_ptr<host::Form> window_;
    std::unique_ptr<Toolbox> toolbox_;
    std::unique_ptr<PropertyGrid> grid_;
    std::shared_ptr<host::Label> status_;
    std::shared_ptr<host::TextBox> gridBox_;
    std::int32_t gridTwips_ = 120;
    std::vector<std::unique_ptr<OpenForm>> documents_;
    std::vector<std::unique_ptr<OpenForm>> closed_;  // closed documents, kept until the designer goes
    DesignDocument* active_ = nullptr;
    std::shared_ptr<host::Form> running_;
    DesignDocument* runningFrom_ = nullptr;
    std::unique_ptr<MenuPageFrame> menuFrame_;
    std::shared_ptr<host::Form> saveAsDialog_;
    bool closing_ = false;

public:
    // The keyboard hook's entry (designer_keys.cpp).
    bool HandleShortcut(WPARAM vk, bool ctrl, bool shift);
};

}  // namespace brimlox::designer
