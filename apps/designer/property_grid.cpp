// The property grid: the on-screen view over the rows of the document's selection. This is
// the part that knows the document: it reads the selection, hands edits to SetProperty and
// reads the rows again when the selection, the form or any of its properties change.
#include "apps/designer/property_grid.h"

namespace brimlox::designer {

PropertyGrid::PropertyGrid(std::shared_ptr<host::Form> form, RECT area, DesignDocument& document)
    : form_(std::move(form)), area_(area), document_(&document) {
    view_ = std::make_unique<PropertyGridView>(form_, area_);
    view_->SetApplyHandler([this](const std::string& property, const std::string& text) { return Edit(property, text); });
    view_->SetMenuHandler([this] {
        if (onMenuEditor_ && document_->Selection().size() == 1) onMenuEditor_(document_->Selection().front());
    });
    Listen();
    Refresh();
}

PropertyGrid::~PropertyGrid() { StopListening(); }

void PropertyGrid::SetDocument(DesignDocument& document) {
    StopListening();
    document_ = &document;
    Listen();
    Refresh();
}

void PropertyGrid::Listen() {
    selectionListener_ = document_->AddSelectionListener([this] { Refresh(); });
    rebuildListener_ = document_->AddRebuildListener([this] { Refresh(); });
    listenedForm_ = document_->FormPtr();
    propertyListener_ = listenedForm_->AddPropertyChangedListener([this](host::Control&, const std::string&) { Refresh(); });
}

void PropertyGrid::StopListening() {
    document_->RemoveListener(selectionListener_);
    document_->RemoveListener(rebuildListener_);
    if (listenedForm_) listenedForm_->RemovePropertyChangedListener(propertyListener_);
    listenedForm_.reset();
}

std::vector<std::shared_ptr<host::Dispatch>> PropertyGrid::Targets() {
    std::vector<std::shared_ptr<host::Dispatch>> targets;
    for (const auto& control : document_->Selection()) targets.push_back(control);
    // Nothing selected: the form's own properties.
    if (targets.empty()) targets.push_back(document_->FormPtr());
    return targets;
}

void PropertyGrid::Refresh() {
    model_ = PropertyRows::Read(Targets());
    rows_.clear();
    for (const auto& row : model_.Rows()) rows_.push_back(Row{row.name, row.text});
    view_->Show(model_);
}

bool PropertyGrid::Edit(const std::string& property, const std::string& text) {
    // The selection is copied: listeners run inside SetProperty may replace it.
    const std::vector<std::shared_ptr<host::Control>> selection = document_->Selection();
    // The model is copied too: each property change the document makes reads the rows again.
    const PropertyRows model = model_;
    const bool applied = model.Apply(property, text, [&](const std::string& name, const host::Variant& value) {
        document_->SetProperty(selection, name, value);
    });
    Refresh();
    return applied;
}

}  // namespace brimlox::designer
