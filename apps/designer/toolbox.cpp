// The toolbox: one list box with the pointer and the registered control types.
#include "apps/designer/toolbox.h"

#include <algorithm>

#include "platform/host/control_registry.h"

namespace brimlox::designer {

namespace {

constexpr const char* kPointerLine = "(Pointer)";

}  // namespace

Toolbox::Toolbox(std::shared_ptr<host::Form> form, RECT area) : form_(std::move(form)) {
    types_ = host::ControlTypeNames();
    std::sort(types_.begin(), types_.end());
    list_ = std::dynamic_pointer_cast<host::ListBox>(form_->Add("ListBox", "lstToolbox"));
    const int tpp = host::TwipsPerPixel();
    list_->Move(area.left * tpp, area.top * tpp, (area.right - area.left) * tpp, (area.bottom - area.top) * tpp);
    list_->AddItem(kPointerLine);
    for (const std::string& type : types_) list_->AddItem(type);
    list_->SetListIndex(0);
    clickConnection_ = list_->Connect("Click", [this](auto) { ListClicked(); });
}

Toolbox::~Toolbox() {
    // The form owns the list and may outlive the toolbox; the handler must not.
    if (list_) list_->Disconnect(clickConnection_);
}

void Toolbox::Pick(const std::string& typeName) {
    std::int32_t line = 0;
    if (!typeName.empty()) {
        auto it = std::find(types_.begin(), types_.end(), typeName);
        if (it == types_.end()) return;
        line = static_cast<std::int32_t>(it - types_.begin()) + 1;
    }
    picked_ = typeName;
    picking_ = true;
    list_->SetListIndex(line);
    picking_ = false;
    if (onPick_) onPick_(picked_);
}

void Toolbox::ListClicked() {
    if (picking_) return;
    const std::int32_t line = list_->ListIndex();
    if (line < 0) return;
    Pick(line == 0 ? std::string() : types_[static_cast<std::size_t>(line - 1)]);
}

}  // namespace brimlox::designer
