// DreamBar: what a change of the bar's size does to its surroundings. The form adjustment moves
// the form's other controls (or resizes the form); the sibling adjustment makes bars stacked in
// one container behave as an accordion: expanding one minimises the others, and the bars below
// move with the size change.
#include "controls/dreambar/dreambar.h"
#include "foundation/persistence/persist_state.h"
#include "platform/host/form.h"

namespace brimlox::controls {

using host::Variant;

void DreamBar::AdjustForm(bool vertical, std::int32_t change) {
    host::Form* form = ParentForm();
    if (!form || !UserMode() || change == 0) return;
    if (Align() != host::kAlignNone && autoAdjustForm_) {
        host::TryInvoke([&] {
            if (vertical) form->SetHeight(form->Height() + change);
            else form->SetWidth(form->Width() + change);
        });
    }
    const auto controls = form->Controls();
    for (const auto& c : controls) {
        host::TryInvoke([&] {
            if (c.get() == this || c->Align() != host::kAlignNone) {
                host::CallMethod(*c, "Refresh", {});
            } else if (!c->ContainerControl()) {
                if (vertical) c->SetTop(c->Top() + change);
                else c->SetLeft(c->Left() + change);
            }
        });
    }
}

// Bars in the same container as this one (not on the form itself) are minimised and, when they
// lie after this one, moved by the change. A bar whose own minimise or sibling adjustment is
// running is moved but not minimised again: it is the bar that started the chain, and entering
// it again would store its strip as its full size and shift its controls twice.
void DreamBar::AdjustSiblings(bool vertical, std::int32_t change) {
    if (foundation::LayoutRestoring() || siblingGuard_) return;
    Control* container = ContainerControl();
    host::Form* form = ParentForm();
    if (!container || !form) return;
    siblingGuard_ = true;
    const auto controls = form->Controls();
    for (const auto& c : controls) {
        auto* bar = dynamic_cast<DreamBar*>(c.get());
        if (!bar || bar == this || bar->ContainerControl() != container) continue;
        host::TryInvoke([&] {
            if (!stepping_ && !bar->inMinimize_ && !bar->siblingGuard_) bar->SetMinimized(true);
            if (vertical && bar->Top() > Top()) bar->SetTop(bar->Top() + change);
            if (!vertical && bar->Left() > Left()) bar->SetLeft(bar->Left() + change);
        });
    }
    siblingGuard_ = false;
}

// After a change of size by the minimise operation: the form, the form's height or width, or
// the sibling bars take it up.
void DreamBar::PassOnSizeChange(bool vertical, std::int32_t change) {
    const std::int16_t align = Align();
    const std::int16_t near = vertical ? host::kAlignTop : host::kAlignLeft;
    const std::int16_t far = vertical ? host::kAlignBottom : host::kAlignRight;
    if (autoAdjust_ && align == near) {
        AdjustForm(vertical, change);
    } else if (autoAdjustForm_ && align == far) {
        host::Form* form = ParentForm();
        if (form && UserMode()) host::TryInvoke([&] {
            if (vertical) form->SetHeight(form->Height() + change);
            else form->SetWidth(form->Width() + change);
        });
    } else if (autoAdjust_) {
        AdjustSiblings(vertical, change);
    }
}

}  // namespace brimlox::controls
