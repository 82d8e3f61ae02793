// The form's controls: creation with unique names and control arrays, removal, z-order and
// the docking of aligned controls along the form's edges.
#include <algorithm>
#include <cctype>

#include "platform/host/control_registry.h"
#include "platform/host/form.h"
#include "platform/host/keyboard.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::shared_ptr<Control> Form::Find(const std::string& name, std::int16_t index) const {
    for (const auto& c : controls_)
        if (SameName(c->Name(), name) && c->Index() == index) return c;
    return nullptr;
}

std::vector<std::shared_ptr<Control>> Form::ControlArray(const std::string& name) const {
    std::vector<std::shared_ptr<Control>> members;
    for (const auto& c : controls_)
        if (SameName(c->Name(), name) && c->IsArrayMember()) members.push_back(c);
    std::sort(members.begin(), members.end(), [](const auto& a, const auto& b) { return a->Index() < b->Index(); });
    return members;
}

// Names are unique on a form, except that the members of one control array share theirs.
void Form::CheckNewName(const std::string& name, std::int16_t index) const {
    if (!IsValidName(name)) throw HostError(kErrInvalidPropertyValue, "Invalid property value: bad name \"" + name + "\"");
    if (index < -1) throw HostError(kErrInvalidPropertyValue, "Invalid property value: bad index");
    for (const auto& c : controls_) {
        if (!SameName(c->Name(), name)) continue;
        if (index < 0 || !c->IsArrayMember() || c->Index() == index)
            throw HostError(kErrInvalidPropertyValue, "Invalid property value: the name \"" + name + "\" is in use");
    }
}

void Form::CheckRename(const Control& control, const std::string& name) const {
    if (!IsValidName(name)) throw HostError(kErrInvalidPropertyValue, "Invalid property value: bad name \"" + name + "\"");
    for (const auto& c : controls_) {
        if (c.get() == &control || !SameName(c->Name(), name)) continue;
        // Members of one control array share their name.
        if (!(control.IsArrayMember() && c->IsArrayMember() && c->Index() != control.Index()))
            throw HostError(kErrInvalidPropertyValue, "Invalid property value: the name \"" + name + "\" is in use");
    }
}

std::string Form::NextFreeName(const std::string& base) const {
    for (int n = 1;; ++n) {
        std::string candidate = base + std::to_string(n);
        bool used = std::any_of(controls_.begin(), controls_.end(), [&](const auto& c) { return SameName(c->Name(), candidate); });
        if (!used) return candidate;
    }
}

std::shared_ptr<Control> Form::CreateUninitialised(const std::string& typeName, std::string name, std::int16_t index,
                                                 bool withWindow, bool nameChecked) {
    auto control = CreateControl(typeName);
    if (!control) throw HostError(kErrInvalidCall, "Invalid procedure call: unknown control type \"" + typeName + "\"");
    if (name.empty()) name = NextFreeName(control->DefaultNameBase());
    if (!nameChecked) CheckNewName(name, index);
    control->AttachToForm(*this, std::move(name), index);
    if (withWindow) control->CreateSurface(hwnd_);
    PlaceInTabOrder(*control, static_cast<std::int16_t>(controls_.size()));
    controls_.push_back(control);
    if (control->IsWindowless()) ++windowless_;
    return control;
}

std::shared_ptr<Control> Form::Add(const std::string& typeName, std::string name, Control* container, std::int16_t index) {
    if (container && (!container->IsContainer() || container->ParentForm() != this))
        throw HostError(kErrInvalidPropertyValue, "Invalid property value: not a container on this form");
    auto control = CreateUninitialised(typeName, std::move(name), index);
    try {
        if (container) control->SetContainer(container->shared_from_this());
        control->RunInitialize();
        control->InitProperties();
        if (control->hWnd() && control->ShownOnForm()) ShowWindow(control->hWnd(), SW_SHOWNA);
        control->Resize();
    } catch (...) {
        // A control that failed to initialise is not left half-made on the form.
        Remove(*control);
        throw;
    }
    dirty_ = true;
    return control;
}

void Form::Remove(Control& control) {
    auto inside = [&](const Control& c) {
        for (const Control* k = &c; k; k = k->ContainerControl())
            if (k == &control) return true;
        return false;
    };
    std::vector<std::shared_ptr<Control>> going;
    for (const auto& c : controls_)
        if (inside(*c)) going.push_back(c);
    for (auto& c : going) {
        if (c->Terminated()) continue;
        c->MarkTerminated();
        if (!c->Initialised()) continue;
        RunHostEvent([&] { c->Terminate(); });
    }
    for (auto it = going.rbegin(); it != going.rend(); ++it) (*it)->DestroySurface();
    std::erase_if(controls_, [&](const auto& c) { return inside(*c); });
    windowless_ = static_cast<std::size_t>(std::count_if(controls_.begin(), controls_.end(), [](const auto& c) { return c->IsWindowless(); }));
    RenumberTabOrder(*this);
    Arrange();
    dirty_ = true;
}

void Form::Reorder(Control& control, bool toBack) {
    auto it = std::find_if(controls_.begin(), controls_.end(), [&](const auto& c) { return c.get() == &control; });
    if (it == controls_.end()) return;
    auto keep = *it;
    controls_.erase(it);
    if (toBack) controls_.insert(controls_.begin(), keep);
    else controls_.push_back(keep);
    Arrange();
}

void Form::NotePropertyChanged(Control& control, const std::string& property) {
    dirty_ = true;
    if (changeListeners_.empty()) return;
    // A copy, so that a listener may add or remove listeners; one removed meanwhile is skipped.
    auto listeners = changeListeners_;
    for (const auto& [id, listener] : listeners) {
        const bool stillThere = std::any_of(changeListeners_.begin(), changeListeners_.end(),
                                            [id = id](const auto& entry) { return entry.first == id; });
        if (stillThere) (*listener)(control, property);
    }
}

std::size_t Form::AddPropertyChangedListener(PropertyChangedListener listener) {
    if (!listener) return 0;
    const std::size_t id = nextListenerId_++;
    changeListeners_.emplace_back(id, std::make_shared<PropertyChangedListener>(std::move(listener)));
    return id;
}

void Form::RemovePropertyChangedListener(std::size_t id) {
    std::erase_if(changeListeners_, [id](const auto& entry) { return entry.first == id; });
}

// Docking: the aligned controls placed directly on the form take their edge in Controls
// (creation, z-) order, each from the client area the earlier ones left. Top and bottom
// controls span the remaining width, left and right ones the remaining height; each keeps its
// own thickness. Any change of size, thickness, alignment or visibility docks them again.
void Form::Arrange() {
    if (arranging_ || !hwnd_) return;
    arranging_ = true;
    RECT client{};
    GetClientRect(hwnd_, &client);
    int tpp = TwipsPerPixel();
    std::int32_t left = 0, top = 0, right = client.right * tpp, bottom = client.bottom * tpp;
    auto controls = controls_;
    for (const auto& c : controls) {
        if (c->Align() == kAlignNone || c->ContainerControl() || !c->Visible() || c->Terminated()) continue;
        std::int32_t width = std::max(0, right - left), height = std::max(0, bottom - top);
        switch (c->Align()) {
            case kAlignTop: {
                std::int32_t h = std::min(c->Height(), height);
                c->PlaceAligned(left, top, width, c->Height());
                top += h;
                break;
            }
            case kAlignBottom: {
                std::int32_t h = std::min(c->Height(), height);
                c->PlaceAligned(left, bottom - h, width, c->Height());
                bottom -= h;
                break;
            }
            case kAlignLeft: {
                std::int32_t w = std::min(c->Width(), width);
                c->PlaceAligned(left, top, c->Width(), height);
                left += w;
                break;
            }
            case kAlignRight: {
                std::int32_t w = std::min(c->Width(), width);
                c->PlaceAligned(right - w, top, c->Width(), height);
                right -= w;
                break;
            }
            default: break;
        }
    }
    arranging_ = false;
}

}  // namespace brimlox::host
