#include "foundation/persistence/layout_restore.h"

#include <algorithm>
#include <unordered_map>

#include "foundation/persistence/persist_format.h"
#include "foundation/persistence/persist_state.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/host/settings_store.h"
#include "platform/host/type_info.h"
#include "platform/user/user.h"

namespace brimlox::foundation {

using host::Control;
using host::Form;
using host::TryInvoke;
using host::Variant;

PersistKind ClassifyByTypeName(const Control& control) {
    std::string type = control.TypeName();
    if (type == "SplitWindow") return PersistKind::SplitWindow;
    if (type == "DreamBar") return PersistKind::DreamBar;
    return PersistKind::Other;
}

host::SettingsStore& ProcessSettingsStore() {
    static host::SettingsStore store;
    return store;
}

PersistServices DefaultPersistServices() { return PersistServices{&ProcessSettingsStore(), ClassifyByTypeName}; }

// ---- Saved AutoAdjust values -------------------------------------------------------------------

void SavedAutoAdjust::SaveAndSuspend(const std::shared_ptr<Form>& form, const PersistClassifier& classify) {
    Forget();
    if (!ClaimAutoAdjust(form)) return;
    claimed_ = form.get();
    for (const auto& c : form->Controls()) {
        if (classify(*c) != PersistKind::SplitWindow) continue;
        bool autoAdjust = false, autoAdjustForm = false;
        TryInvoke([&] { autoAdjust = host::GetProperty(*c, "AutoAdjust").ToBool(); });
        TryInvoke([&] { autoAdjustForm = host::GetProperty(*c, "AutoAdjustForm").ToBool(); });
        autoAdjust_.push_back(autoAdjust);
        autoAdjustForm_.push_back(autoAdjustForm);
        controls_.push_back(c);
        TryInvoke([&] { host::LetProperty(*c, "AutoAdjust", Variant(false)); });
        TryInvoke([&] { host::LetProperty(*c, "AutoAdjustForm", Variant(false)); });
    }
    if (controls_.empty()) Forget();
}

void SavedAutoAdjust::GiveBack() {
    // Forget first: the properties' own handlers may pump events that come back here.
    auto controls = std::move(controls_);
    auto autoAdjust = std::move(autoAdjust_);
    auto autoAdjustForm = std::move(autoAdjustForm_);
    Forget();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        auto c = controls[i].lock();
        if (!c || c->Terminated()) continue;
        TryInvoke([&] { host::LetProperty(*c, "AutoAdjust", Variant(static_cast<bool>(autoAdjust[i]))); });
        TryInvoke([&] { host::LetProperty(*c, "AutoAdjustForm", Variant(static_cast<bool>(autoAdjustForm[i]))); });
    }
}

void SavedAutoAdjust::Forget() {
    autoAdjust_.clear();
    autoAdjustForm_.clear();
    controls_.clear();
    if (claimed_) ReleaseAutoAdjust(claimed_);
    claimed_ = nullptr;
}

// ---- The form ----------------------------------------------------------------------------------

namespace {

std::int32_t Twips(double v) { return static_cast<std::int32_t>(host::RoundHalfEven(v)); }

bool IsSizable(const Form& form) {
    std::int16_t border = form.BorderStyle();
    return border == 0 || border == 2 || border == 5;
}

// Centres the form on the screen; a form larger than the screen goes to the screen's origin.
void CenterForm(Form& form) {
    auto screen = host::Screen();
    double left = std::max(0.0, (screen.Width - form.Width()) / 2.0);
    double top = std::max(0.0, (screen.Height - form.Height()) / 2.0);
    TryInvoke([&] { form.Move(Twips(left), Twips(top), form.Width(), form.Height()); });
}

// Applies a saved placement and copies what was applied into `record`, so a form that stays
// maximised until it closes still has its normal placement to write. A width or height of 0
// or less keeps the form's own size; a form closed while minimised comes back normal.
void ApplyFormPlacement(Form& form, const typPersistForm& saved, typPersistForm& record) {
    auto screen = host::Screen();
    bool keepSize = !IsSizable(form) || saved.Width <= 0 || saved.Height <= 0;
    double width = keepSize ? form.Width() : saved.Width;
    double height = keepSize ? form.Height() : saved.Height;
    double left = saved.Left, top = saved.Top;
    if (left + width > screen.Width) left = screen.Width - width;
    if (top + height > screen.Height) top = screen.Height - height;
    left = std::max(0.0, left), top = std::max(0.0, top);
    std::int16_t state = saved.State == 2 ? 2 : 0;
    if (!IsSizable(form)) {
        state = form.WindowState();
        TryInvoke([&] { form.Move(Twips(left), Twips(top), form.Width(), form.Height()); });
    } else {
        TryInvoke([&] { form.SetWindowState(0); });
        TryInvoke([&] { form.Move(Twips(left), Twips(top), Twips(width), Twips(height)); });
        TryInvoke([&] { form.SetWindowState(state); });
    }
    record.Left = static_cast<float>(left), record.Top = static_cast<float>(top);
    record.Width = static_cast<float>(width), record.Height = static_cast<float>(height);
    record.State = state;
}

// ---- The controls ------------------------------------------------------------------------------

std::shared_ptr<Control> FindControl(const Form& form, const std::string& name, std::int16_t index) {
    for (const auto& c : form.Controls())
        if (c->Name() == name && c->Index() == index) return c;
    return nullptr;
}

// Whether `container` may hold `c`: a container control that is neither `c` nor inside it.
bool CanHold(const Control& container, const Control& c) {
    if (!container.IsContainer()) return false;
    for (const Control* k = &container; k; k = k->ContainerControl())
        if (k == &c) return false;
    return true;
}

void Let(Control& c, const char* property, Variant value) {
    TryInvoke([&] { host::LetProperty(c, property, std::move(value)); });
}

// Puts the control into the container the record names when it is elsewhere now; it leaves
// the form's edges (and a splitter its dock) first, since a contained control cannot dock.
// A container that cannot hold it (itself, one of its own descendants, a control that is no
// container) is refused: the record is reported and the control stays where it is.
bool ApplyContainer(Form& form, Control& c, const typPersistControl& r, PersistKind kind) {
    Control* now = c.ContainerControl();
    std::string name = now ? now->Name() : form.Name();
    std::int16_t index = now ? now->Index() : -1;
    if (r.ContainIdx == index && r.Container == name) return true;
    std::shared_ptr<Control> target;
    if (r.Container != form.Name()) {
        target = FindControl(form, r.Container, r.ContainIdx);
        if (target && !CanHold(*target, c)) return false;
    }
    TryInvoke([&] { c.SetAlign(host::kAlignNone); });
    if (kind == PersistKind::SplitWindow) Let(c, "Dock", Variant(std::int16_t{0}));
    if (r.Container == form.Name()) {
        TryInvoke([&] { c.SetContainer(form.shared_from_this()); });
    } else if (target) {
        return TryInvoke([&] { c.SetContainer(target); });
    }
    return true;
}

// The client area of the control's container in twips (0 x 0 when it cannot be had).
std::pair<double, double> ContainerArea(const Form& form, const Control& c) {
    if (const Control* container = c.ContainerControl()) {
        RECT r{};
        if (!container->hWnd() || !GetClientRect(container->hWnd(), &r)) return {0.0, 0.0};
        const double tpp = host::TwipsPerPixel();
        return {r.right * tpp, r.bottom * tpp};
    }
    return {form.ScaleWidth(), form.ScaleHeight()};
}

// Moves the control. A stored size of 0 or less keeps the control's own size (a restore never
// leaves a control nobody can see or grab), and the control is kept inside its container's
// client area as far as it fits, so a layout saved on a larger screen or container never puts
// it out of reach.
void ApplyPlacement(const Form& form, Control& c, const typPersistControl& r) {
    TryInvoke([&] {
        const std::int32_t width = r.Width <= 0 ? c.Width() : Twips(r.Width);
        const std::int32_t height = r.Height <= 0 ? c.Height() : Twips(r.Height);
        double left = r.Left, top = r.Top;
        const auto [areaWidth, areaHeight] = ContainerArea(form, c);
        if (areaWidth > 0 && areaHeight > 0) {
            left = std::clamp(left, 0.0, std::max(0.0, areaWidth - width));
            top = std::clamp(top, 0.0, std::max(0.0, areaHeight - height));
        }
        c.Move(Twips(left), Twips(top), width, height);
    });
}

void ApplySplitWindow(Form& form, Control& c, const typPersistControl& r, const PersistClassifier& classify) {
    Let(c, "FloatWidth", Variant(r.FloatWidth));
    Let(c, "FloatHeight", Variant(r.FloatHeight));
    Let(c, "FixedX", Variant(r.FixedX));
    Let(c, "FixedY", Variant(r.FixedY));
    Let(c, "Vertical", Variant(r.Vertical));  // any non-zero stored value is True (-1)
    if (r.Dock != typPersistControl::kNoDock) {
        Control* container = c.ContainerControl();
        if (container && classify(*container) == PersistKind::DreamBar) {
            Let(c, "Docked", Variant(r.Dock));
        } else {
            std::int16_t dock = 0;
            bool known = TryInvoke([&] { dock = host::GetProperty(c, "Dock").ToInteger(); });
            if (known && dock != r.Dock) {
                if (r.Container == form.Name()) TryInvoke([&] { c.SetAlign(r.Dock); });
                Let(c, "Dock", Variant(r.Dock));
            }
        }
    }
    ApplyPlacement(form, c, r);
}

// False when the record could not be applied as it stands (reported by the caller).
bool ApplyControlRecord(Form& form, const typPersistControl& r, const PersistClassifier& classify) {
    auto c = FindControl(form, r.Name, r.Index);
    if (!c) return true;  // renamed or removed since the layout was saved: nothing to restore
    PersistKind kind = classify(*c);
    if (!ApplyContainer(form, *c, r, kind)) return false;
    if (kind == PersistKind::SplitWindow) {
        ApplySplitWindow(form, *c, r, classify);
    } else if (kind == PersistKind::DreamBar) {
        Let(*c, "FullSize", Variant(r.FloatWidth));
        Let(*c, "Minimized", Variant(r.Vertical));
        ApplyPlacement(form, *c, r);
    } else {
        ApplyPlacement(form, *c, r);
    }
    return true;
}

// Tells the user which stored records were not used, naming each, in one message.
void ReportUnusedRecords(const Form& form, const std::vector<std::string>& problems) {
    if (problems.empty()) return;
    std::string text = "Parts of the saved layout of " + form.Name() + " were not used:";
    for (const auto& p : problems) text += "\n" + p;
    host::MsgBox(text, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void NoteFormPlacement(const Form& form, typPersistForm& record) {
    record.State = form.WindowState();
    if (record.State != 0 || form.Width() <= 0 || form.Height() <= 0) return;
    record.Left = static_cast<float>(form.Left());
    record.Top = static_cast<float>(form.Top());
    record.Width = static_cast<float>(form.Width());
    record.Height = static_cast<float>(form.Height());
}

bool ApplyLayout(const std::shared_ptr<Form>& form, bool center,
                 const std::vector<std::pair<std::string, std::string>>& section, typPersistForm& record,
                 SavedAutoAdjust& saved, const PersistClassifier& classify) {
    LayoutRestoreScope restoring;
    std::unordered_map<std::string, std::string> values(section.begin(), section.end());
    saved.SaveAndSuspend(form, classify);
    std::optional<typPersistForm> stored;
    if (auto it = values.find("Form"); it != values.end()) stored = ParseFormValue(it->second);
    if (stored) {
        ApplyFormPlacement(*form, *stored, record);
    } else {
        if (center) CenterForm(*form);
        NoteFormPlacement(*form, record);
    }
    std::vector<std::string> problems;
    if (auto it = values.find("Form"); it != values.end() && !stored)
        problems.push_back("Form: not five numbers within range");
    for (int k = 1;; ++k) {
        const std::string key = "Window" + std::to_string(k);
        auto it = values.find(key);
        if (it == values.end() || it->second.empty()) break;
        const auto r = ParseWindowValue(it->second);
        if (!r) {
            const std::size_t fields = SplitLayoutFields(it->second).size();
            problems.push_back(key + ": " + (fields != 14 ? std::to_string(fields) + " fields instead of 14"
                                                            : std::string("a value out of range")));
        } else if (!ApplyControlRecord(*form, *r, classify)) {
            problems.push_back(key + ": " + r->Name + " cannot go into " + r->Container);
        }
    }
    ReportUnusedRecords(*form, problems);
    return stored.has_value();
}

bool RestoreLayout(const std::shared_ptr<Form>& form, bool center, const std::string& app,
                   const std::string& formName, typPersistForm& record, SavedAutoAdjust& saved,
                   const PersistServices& services) {
    std::vector<std::pair<std::string, std::string>> section;
    if (services.store) section = services.store->GetAllSettings(app, formName);
    return ApplyLayout(form, center, section, record, saved, services.classify);
}

}  // namespace brimlox::foundation
