#include "foundation/persistence/form_persistence.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string_view>
#include <vector>

#include "foundation/persistence/design_environment.h"
#include "foundation/persistence/persist_format.h"
#include "foundation/persistence/persist_state.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/host/settings_store.h"
#include "platform/host/type_info.h"
#include "platform/kernel/module.h"
#include "platform/user/user.h"

namespace brimlox::foundation {

using host::TryInvoke;

namespace {

constexpr const char* kNotEstablished =
    "Persistence must be established\nby calling the PersistForm method\nbefore persistence can be removed!";

std::string WindowKey(std::size_t k) { return "Window" + std::to_string(k); }

// The record number of a "Window" k key; 0 for any other key.
std::size_t WindowNumber(const std::string& key) {
    constexpr std::string_view kPrefix = "Window";
    if (key.size() <= kPrefix.size() || key.size() > kPrefix.size() + 9 || key.compare(0, kPrefix.size(), kPrefix) != 0)
        return 0;
    std::size_t n = 0;
    for (std::size_t i = kPrefix.size(); i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return 0;
        n = n * 10 + static_cast<std::size_t>(key[i] - '0');
    }
    return n;
}

// The file name of the module that owns the form's window; empty when it cannot be had. The
// instance handle is read at its full width: a 16-bit read would name some other module.
std::string ModuleNameOf(const host::Form& form) {
    auto instance = static_cast<std::uint32_t>(GetWindowLongPtrA(form.hWnd(), GWL_HINSTANCE));
    char buffer[4096];
    DWORD n = GetModuleFileNameA(HandleFromValue<HMODULE>(instance), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return {};
    std::string name(buffer, n);
    // A drive prefix ("C:\") is not part of the name the layouts are filed under.
    if (name.size() >= 3 && name.compare(1, 2, ":\\") == 0) name.erase(0, 3);
    return name;
}

// One record for a control: its placement, the docking properties it has (0 for those it
// lacks) and its container.
typPersistControl Collect(const host::Form& form, host::Control& c, const PersistClassifier& classify) {
    typPersistControl r;
    PersistKind kind = classify(c);
    r.Name = c.Name();
    r.Index = c.Index();
    r.Left = static_cast<float>(c.Left()), r.Top = static_cast<float>(c.Top());
    r.Width = static_cast<float>(c.Width()), r.Height = static_cast<float>(c.Height());
    auto single = [&](const char* name, float& out) {
        TryInvoke([&] { out = host::GetProperty(c, name).ToSingle(); });
    };
    single("FloatWidth", r.FloatWidth);
    single("FloatHeight", r.FloatHeight);
    single("FixedX", r.FixedX);
    single("FixedY", r.FixedY);
    if (kind == PersistKind::DreamBar) single("FullSize", r.FloatWidth);
    const char* vertical = kind == PersistKind::DreamBar ? "Minimized" : "Vertical";
    TryInvoke([&] { r.Vertical = host::GetProperty(c, vertical).ToBool(); });
    r.Dock = c.Align();
    if (kind == PersistKind::SplitWindow) TryInvoke([&] { r.Dock = host::GetProperty(c, "Dock").ToInteger(); });
    host::Control* container = c.ContainerControl();
    r.Container = container ? container->Name() : form.Name();
    r.ContainIdx = container ? container->Index() : -1;
    TryInvoke([&] { r.Style = host::GetProperty(c, "Style").ToLong(); });
    return r;
}

}  // namespace

FormPersistence::FormPersistence(PersistServices services) : services_(std::move(services)) {
    if (!services_.store) services_.store = &ProcessSettingsStore();
    if (!services_.classify) services_.classify = ClassifyByTypeName;
}

FormPersistence::~FormPersistence() {
    Release();
    // Splitters that outlive this object keep working as they were designed.
    saved_.GiveBack();
}

const std::string& FormPersistence::RegistryLocation() { return foundation::RegistryLocation(); }

bool FormPersistence::PersistForm(const std::shared_ptr<host::Form>& form, bool center) {
    if (established_ || !form) return false;
    Hook(form);
    std::string location = foundation::RegistryLocation();
    if (location.empty()) location = ModuleNameOf(*form);
    if (location.empty()) {
        // Without a name there is nowhere to keep the layout: nothing is established.
        Release();
        return false;
    }
    SetRegistryLocation(location);
    formName_ = form->Name();
    established_ = true;
    collected_ = false;
    controlRecords_.clear();
    // The first paint gives the splitters their values back; make sure one comes, whichever
    // way the restore ends.
    auto armFirstPaint = [&] {
        firstPaintPending_ = saved_.Pending();
        if (firstPaintPending_) InvalidateRect(form->hWnd(), nullptr, FALSE);
    };
    try {
        formRestored_ = RestoreLayout(form, center, location, formName_, formRecord_, saved_, services_);
    } catch (const host::HostError&) {
        // A host error ends the method and leaves what was done.
    } catch (...) {
        armFirstPaint();
        throw;
    }
    armFirstPaint();
    return true;
}

void FormPersistence::Hook(const std::shared_ptr<host::Form>& form) {
    Release();
    form_ = form;
    connections_ = {
        form->Connect("Paint", [this](std::span<host::Variant>) { OnPaint(); }),
        form->Connect("Resize", [this](std::span<host::Variant>) { OnResize(); }),
        form->Connect("QueryUnload", [this](std::span<host::Variant>) { OnQueryUnload(); }),
        form->Connect("Unload", [this](std::span<host::Variant>) { Release(); }),
    };
}

void FormPersistence::Release() {
    if (auto form = form_.lock())
        for (int id : connections_) form->Disconnect(id);
    connections_.clear();
    form_.reset();
}

void FormPersistence::OnPaint() {
    if (established_) RunFirstPaintStep();
}

void FormPersistence::RunFirstPaintStep() {
    // Done before pumping: a paint dispatched by the pump must not run the step again.
    if (!firstPaintPending_) return;
    firstPaintPending_ = false;
    host::DoEvents();
    saved_.GiveBack();
}

void FormPersistence::OnResize() {
    auto form = form_.lock();
    if (form && established_ && !LayoutRestoring()) NoteFormPlacement(*form, formRecord_);
    if (FormResized) FormResized();
}

void FormPersistence::OnQueryUnload() {
    auto form = form_.lock();
    if (!form || !established_ || LayoutRestoring()) return;
    NoteFormPlacement(*form, formRecord_);
    CollectControls(*form);
}

void FormPersistence::CollectControls(const host::Form& form) {
    controlRecords_.clear();
    for (const auto& c : form.Controls()) {
        typPersistControl r = Collect(form, *c, services_.classify);
        if (r.Width != 0) controlRecords_.push_back(std::move(r));
    }
    collected_ = true;
}

void FormPersistence::Terminate() {
    if (!established_) return;
    WriteLayout();
    established_ = false;
    Release();
}

// The whole layout is one settings update: the form record, every control record and the
// removal of the records beyond them. A process killed while saving leaves the previous layout
// whole, and of two instances saving the same form the later one wins whole; record by record
// writes would leave records of two sessions mixed.
void FormPersistence::WriteLayout() {
    const std::string& app = foundation::RegistryLocation();
    if (app.empty()) return;
    formRecord_.Left = std::max(0.0f, formRecord_.Left);
    formRecord_.Top = std::max(0.0f, formRecord_.Top);
    std::vector<std::pair<std::string, std::string>> values;
    if (formRecord_.Width > 0 && formRecord_.Height > 0) values.emplace_back("Form", FormatFormValue(formRecord_));
    std::function<bool(const std::string&)> stale;
    if (collected_) {
        for (std::size_t k = 1; k <= controlRecords_.size(); ++k)
            values.emplace_back(WindowKey(k), FormatWindowValue(controlRecords_[k - 1]));
        const std::size_t count = controlRecords_.size();
        stale = [count](const std::string& key) { return WindowNumber(key) > count; };
    }
    if (!values.empty() || stale) services_.store->SaveSettings(app, formName_, values, stale);
}

bool FormPersistence::RemovePersistence(const std::string& formName) {
    const std::string& app = foundation::RegistryLocation();
    if (app.empty()) {
        host::MsgBox(kNotEstablished, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // An empty section name asks the store for the whole application: this one, nothing else.
    const bool deleted = services_.store->DeleteSetting(app, formName);
    if ((formName.empty() || formName == formName_) && established_) {
        RunFirstPaintStep();
        Release();
        established_ = false;
    }
    return deleted;
}

// FormRestored tells the caller that saved layouts were thrown away; nothing deleted, nothing
// to tell.
void FormPersistence::RemovePersistenceIDE(const std::string& formName) {
    if (!InDesignEnvironment()) return;
    if (RemovePersistence(formName)) formRestored_ = true;
}

}  // namespace brimlox::foundation
