// PropertyGrid: the designer's property list, built from the host's standard controls on a
// form of the designer. It shows every browsable property of the selection (the form's own
// when nothing is selected) from the type information, in name order, with the value shared by
// all selected controls or blank where they differ. The value of the chosen row is edited with
// the editor its kind asks for: a drop-down list for enumerations and booleans, system colours
// and RGB for colours, the font's name, size and style for fonts, a file chooser over the
// drive, folder and file lists for pictures, a text box for the rest. Each edit goes through
// DesignDocument::SetProperty; a refused value shows the host's message and changes nothing.
// For a control that carries popup-menu items a "(Menu)" row opens the menu editor page.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "apps/designer/design_document.h"
#include "apps/designer/property_grid_view.h"
#include "apps/designer/property_rows.h"
#include "platform/host/form.h"
#include "platform/user/winuser.h"

namespace brimlox::designer {

class PropertyGrid {
public:
    // Builds the grid on `form` in `area` (client pixels) and follows `document`'s selection.
    PropertyGrid(std::shared_ptr<host::Form> form, RECT area, DesignDocument& document);
    ~PropertyGrid();
    PropertyGrid(const PropertyGrid&) = delete;
    PropertyGrid& operator=(const PropertyGrid&) = delete;

    // Follows another document (the designer has one per open form).
    void SetDocument(DesignDocument& document);
    // Reads the selection's properties again.
    void Refresh();

    struct Row {
        std::string name;
        std::string value;  // as the grid shows it; "" where the selected controls differ
    };
    const std::vector<Row>& Rows() const { return rows_; }
    // Edits one row as typing into its editor and pressing Enter does; false when the value
    // was refused (the host's message was shown and nothing changed).
    bool Edit(const std::string& property, const std::string& text);

    // Called when the "(Menu)" row is opened, with the control whose items to edit.
    void SetMenuEditorHandler(std::function<void(std::shared_ptr<host::Control>)> handler) {
        onMenuEditor_ = std::move(handler);
    }

    // The on-screen grid (its list, editor and drop-down).
    PropertyGridView& View() { return *view_; }

private:
    void Listen();
    void StopListening();
    std::vector<std::shared_ptr<host::Dispatch>> Targets();

    std::shared_ptr<host::Form> form_;
    RECT area_{};
    DesignDocument* document_ = nullptr;
    std::vector<Row> rows_;
    PropertyRows model_;
    std::unique_ptr<PropertyGridView> view_;
    std::size_t selectionListener_ = 0, rebuildListener_ = 0, propertyListener_ = 0;
    std::shared_ptr<host::Form> listenedForm_;  // the form whose property changes refresh the rows
    std::function<void(std::shared_ptr<host::Control>)> onMenuEditor_;
};

}  // namespace brimlox::designer
