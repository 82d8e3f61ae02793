// The form's tab order, and Tab / Shift+Tab moving the focus along it. Positions are kept per
// control by the host, beside the control, as the extender's other values are the host's.
#include <algorithm>
#include <unordered_map>

#include "platform/host/form.h"
#include "platform/host/host_error.h"
#include "platform/host/keyboard.h"
#include "platform/user/keyboard_cues.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

struct TabPlace {
    std::int16_t index = 0;
    bool stop = true;
};

// One UI thread: the table is only touched from it. A control's entry goes with the control;
// the table itself is never destroyed, so controls that outlive static destruction (held by
// other statics) can still leave it.
std::unordered_map<const Control*, TabPlace>& Places() {
    static auto* places = new std::unordered_map<const Control*, TabPlace>();
    return *places;
}

// Whether Tab may stop at a control: a tab stop the user can reach and operate now.
bool TabVisits(const Control& c) {
    if (!TabStop(c) || !CanGetFocus(c) || !IsWindowVisible(c.hWnd())) return false;
    HWND formWindow = c.ParentForm() ? c.ParentForm()->hWnd() : nullptr;
    for (HWND h = c.hWnd(); h && h != formWindow; h = GetParent(h))
        if (!IsWindowEnabled(h)) return false;
    return true;
}

void Renumber(const std::vector<Control*>& order) {
    for (std::size_t i = 0; i < order.size(); ++i) Places()[order[i]].index = static_cast<std::int16_t>(i);
}

}  // namespace

std::int16_t TabIndex(const Control& control) {
    auto it = Places().find(&control);
    return it == Places().end() ? 0 : it->second.index;
}

bool TabStop(const Control& control) {
    auto it = Places().find(&control);
    return it == Places().end() || it->second.stop;
}

void SetTabStop(Control& control, bool on) {
    Places()[&control].stop = on;
    control.PropertyChanged("TabStop");
}

void PlaceInTabOrder(Control& control, std::int16_t index) { Places()[&control].index = index; }
void ForgetTabPlace(const Control& control) { Places().erase(&control); }

std::vector<Control*> TabOrder(const Form& form, bool all) {
    std::vector<Control*> order;
    for (const auto& c : form.Controls())
        if (all || TabVisits(*c)) order.push_back(c.get());
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) { return TabIndex(*a) < TabIndex(*b); });
    return order;
}

void SetTabIndex(Control& control, std::int16_t index) {
    if (index < 0) throw HostError(kErrInvalidPropertyValue, "Invalid property value: TabIndex must not be negative");
    Form* form = control.ParentForm();
    if (!form) {
        PlaceInTabOrder(control, index);
        return;
    }
    std::vector<Control*> order = TabOrder(*form, true);
    std::erase(order, &control);
    auto place = std::min<std::size_t>(static_cast<std::size_t>(index), order.size());
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(place), &control);
    Renumber(order);
    control.PropertyChanged("TabIndex");
}

void RenumberTabOrder(const Form& form) { Renumber(TabOrder(form, true)); }

bool SelectNextControl(Form& form, Control* from, bool forward) {
    if (form.DesignMode()) return false;
    std::vector<Control*> all = TabOrder(form, true);
    const auto n = static_cast<std::ptrdiff_t>(all.size());
    auto at = std::find(all.begin(), all.end(), from);
    // Without a starting control the round starts before the first (or after the last).
    const std::ptrdiff_t start = at != all.end() ? at - all.begin() : (forward ? -1 : n);
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((forward ? start + step : start - step) % n + n) % n;
        Control* next = all[static_cast<std::size_t>(i)];
        if (!TabVisits(*next) || !SetFocus(*next)) continue;
        // Moving with the keyboard shows where the focus is from now on.
        SendMessageA(next->hWnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        return true;
    }
    return false;
}

}  // namespace brimlox::host
