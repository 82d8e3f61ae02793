// TrayIcon: properties and their setters, persistence in the property bag, and the records
// the control hands the notification area.
//
// The icon is in the tray exactly while added_ is true. Every add sends a complete record
// (message, icon and tip), so an icon shown again after being hidden keeps its callback, its
// picture and the latest tooltip; an add is only sent when the icon is not there already.
#include <algorithm>
#include <cstring>

#include "controls/trayicon/trayicon.h"
#include "foundation/helpers/naming.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using host::PropertyBag;
using host::Variant;

namespace {

constexpr UINT kAllFields = NIF_MESSAGE | NIF_ICON | NIF_TIP;

bool IsSet(const std::shared_ptr<host::StdPicture>& picture) {
    return picture && picture->Type() != host::PictureType::None;
}

}  // namespace

TrayIcon::TrayIcon() {
    menu_.SetChangeSink([this](const std::string& property) { PropertyChanged(property); });
}

TrayIcon::~TrayIcon() { *alive_ = false; }

// ---- Lifecycle ---------------------------------------------------------------------------------

// The shell's callback carries the mouse message as the x coordinate, so the surface counts in
// pixels.
void TrayIcon::Initialize() {
    SetScaleMode(host::kScalePixels);
    delay_ = CreateTimer([this] { DelayElapsed(); });
}

void TrayIcon::InitProperties() {
    host::TryInvoke([&] { SetName(foundation::UniqueName("traIcon", *this)); });
    toolTip_.clear();
    hidden_ = false;
    menu_.InitProperties();
}

// An empty stored tooltip comes back as the form's caption.
void TrayIcon::ReadProperties(PropertyBag& bag) {
    hidden_ = bag.ReadProperty("Hidden", Variant(false)).ToBool();
    const std::string caption = ParentForm() ? ParentForm()->Caption() : std::string();
    toolTip_ = bag.ReadProperty("ToolTip", Variant(caption)).ToString();
    auto picture = bag.ReadProperty("Icon").As<host::StdPicture>();
    if (IsSet(picture) && picture->Type() != host::PictureType::Icon)
        throw host::HostError(host::kErrInvalidPropertyValue, "Icon holds a picture that is not an icon");
    SetIcon(picture);
    menu_.ReadProperties(bag);
}

void TrayIcon::WriteProperties(PropertyBag& bag) {
    if (auto icon = Icon()) bag.WriteProperty("Icon", Variant(std::static_pointer_cast<host::Dispatch>(icon)));
    bag.WriteProperty("ToolTip", Variant(toolTip_), Variant(std::string()));
    bag.WriteProperty("Hidden", Variant(hidden_), Variant(false));
    menu_.WriteProperties(bag);
}

void TrayIcon::Terminate() {
    *alive_ = false;
    if (delay_) delay_->SetEnabled(false);
    RemoveFromTray();
}

// ---- Setters -----------------------------------------------------------------------------------

void TrayIcon::SetIcon(std::shared_ptr<host::StdPicture> picture) {
    if (IsSet(picture) && picture->Type() != host::PictureType::Icon) {
        host::MsgBox("Only Icons are supported", MB_OK);
        return;
    }
    host::Control::SetPicture(IsSet(picture) ? picture : nullptr);
    PropertyChanged("Icon");
    if (!AtRunTime()) return;
    if (IsSet(Icon())) {
        if (added_) {
            FillRecord(kAllFields);
            Notify(NIM_MODIFY);
        } else if (!hidden_) {
            AddToTray();
        }
    } else {
        RemoveFromTray();
    }
}

void TrayIcon::SetToolTip(std::string text) {
    toolTip_ = std::move(text);
    PropertyChanged("ToolTip");
    SetTip(toolTip_);
    if (!added_) return;
    record_.uFlags = NIF_TIP;
    Notify(NIM_MODIFY);
}

void TrayIcon::SetHidden(bool hidden) {
    hidden_ = hidden;
    PropertyChanged("Hidden");
    if (!AtRunTime()) return;
    if (hidden_) RemoveFromTray();
    else if (IsSet(Icon()) && !added_) AddToTray();
}

// ---- Methods -----------------------------------------------------------------------------------

void TrayIcon::Refresh() { host::Control::Refresh(); }

void TrayIcon::ShowAboutBox() {
    host::MsgBox(std::string("Brimlox TrayIcon\nVersion ") + BRIMLOX_VERSION, 0, "About TrayIcon");
}

// ---- The shell records -------------------------------------------------------------------------

bool TrayIcon::AtRunTime() const { return Ambient().UserMode && hWnd() != nullptr; }

void TrayIcon::FillRecord(std::uint32_t flags) {
    record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record_.hWnd = HandleValue(hWnd());
    record_.uID = HandleValue(hWnd());
    record_.uFlags = flags;
    record_.uCallbackMessage = WM_MOUSEMOVE;
    record_.hIcon = IsSet(Icon()) ? HandleValue(Icon()->Icon()) : 0;
    SetTip(toolTip_);
}

// The tip field holds 63 characters and the terminator; a longer tooltip is cut. The rest of
// the field is blank-padded.
void TrayIcon::SetTip(const std::string& text) {
    constexpr std::size_t kField = sizeof record_.szTip;
    std::memset(record_.szTip, ' ', kField);
    const std::size_t n = std::min(text.size(), kField - 1);
    std::memcpy(record_.szTip, text.data(), n);
    record_.szTip[n] = '\0';
}

// The shell's answer is not looked at: added_ follows the calls made.
void TrayIcon::Notify(DWORD message) {
    NOTIFYICONDATAA copy = record_;
    Shell_NotifyIconA(message, &copy);
}

void TrayIcon::AddToTray() {
    FillRecord(kAllFields);
    Notify(NIM_ADD);
    added_ = true;
}

void TrayIcon::RemoveFromTray() {
    if (!added_) return;
    Notify(NIM_DELETE);
    added_ = false;
}

}  // namespace brimlox::controls
