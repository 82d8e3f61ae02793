// SplitWindow: docking to an edge of the container. The Dock setter, placing the
// control for its current edge (on a form through the host's Align, which stacks docked bars in
// z-order; inside another container by stacking against the bars already docked there), the
// container's usable area, and keeping the host's Align and the dock edge in step.
#include <algorithm>
#include <cmath>

#include "controls/splitwindow/splitwindow.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using host::kAlignBottom;
using host::kAlignLeft;
using host::kAlignNone;
using host::kAlignRight;
using host::kAlignTop;

namespace {

bool HorizontalEdge(std::int16_t edge) { return edge == kAlignTop || edge == kAlignBottom; }
bool VerticalEdge(std::int16_t edge) { return edge == kAlignLeft || edge == kAlignRight; }

}  // namespace

// ---- Small questions the docking code asks ------------------------------------------------------

bool SplitWindow::OnForm() const { return ContainerControl() == nullptr; }

bool SplitWindow::EdgeAllowed(std::int16_t edge) const {
    switch (edge) {
        case kAlignTop: return dockTop_;
        case kAlignBottom: return dockBottom_;
        case kAlignLeft: return dockLeft_;
        case kAlignRight: return dockRight_;
        default: return false;
    }
}

// A float size of 0 (never recorded) or outside the limits would give a bar of no size or one
// the user cannot size back: the size used is kept within MinWidth ... MaxWidth.
std::int32_t SplitWindow::FloatWidthTwips() const {
    const double w = floatWidth_ >= 1 ? floatWidth_ : Width();
    return static_cast<std::int32_t>(std::clamp<double>(std::round(w), minWidth_, std::max(minWidth_, maxWidth_)));
}

std::int32_t SplitWindow::FloatHeightTwips() const {
    const double h = floatHeight_ >= 1 ? floatHeight_ : Height();
    return static_cast<std::int32_t>(std::clamp<double>(std::round(h), minHeight_, std::max(minHeight_, maxHeight_)));
}

// The other SplitWindow controls of the form that sit in the same container as this one.
std::vector<std::shared_ptr<SplitWindow>> SplitWindow::SiblingWindows() const {
    std::vector<std::shared_ptr<SplitWindow>> out;
    const host::Form* form = ParentForm();
    if (!form) return out;
    for (const auto& c : form->Controls()) {
        auto s = std::dynamic_pointer_cast<SplitWindow>(c);
        if (s && s.get() != this && s->ContainerControl() == ContainerControl() && !s->Terminated()) out.push_back(s);
    }
    return out;
}

// ---- The container's usable area ---------------------------------------------------------------

// The client area of the container in twips: the form's scale area, or the client rectangle
// of a container control, less the Leading margin of a DreamBar.
void SplitWindow::RefreshContainerArea() {
    ContainerArea area;
    if (host::Control* c = ContainerControl()) {
        RECT r{};
        if (c->hWnd()) GetClientRect(c->hWnd(), &r);
        area.width = static_cast<std::int32_t>(std::lround(r.right * TwipsPerPixelX()));
        area.height = static_cast<std::int32_t>(std::lround(r.bottom * TwipsPerPixelY()));
        if (c->TypeName() == "DreamBar") {
            std::int32_t leading = 0;
            host::TryInvoke([&] { leading = host::GetProperty(*c, "Leading").ToLong(); });
            leading = std::clamp(leading, 0, area.width);
            area.left = leading;
            area.width -= leading;
        }
    } else if (const host::Form* form = ParentForm()) {
        area.width = static_cast<std::int32_t>(std::lround(form->ScaleWidth()));
        area.height = static_cast<std::int32_t>(std::lround(form->ScaleHeight()));
    }
    containerArea_ = area;
}

// ---- Dock ---------------------------------------------------------------------------

void SplitWindow::SetDock(std::int16_t edge) {
    // An edge outside the alignment values means none: no setter of the host's Align accepts it.
    if (edge < kAlignNone || edge > kAlignRight) edge = kAlignNone;
    // Assigning the configured edge again re-applies it when the control is not on it.
    if (edge == configuredDock_ && edge == currentDock_) return;
    if (currentDock_ != kAlignNone) UndockToFloat();
    const std::int16_t old = configuredDock_;
    if (old == kAlignRight && floatWidth_ > floatHeight_) host::TryInvoke([&] { SetLeft(0); });
    if (old == kAlignBottom && floatHeight_ > floatWidth_) host::TryInvoke([&] { SetTop(0); });
    configuredDock_ = edge;
    if (!dockable_ || (!OnForm() && !dockableContained_)) configuredDock_ = kAlignNone;
    PropertyChanged("Dock");
    currentDock_ = configuredDock_;
    ApplyDock();
    if (currentDock_ == kAlignNone) {
        host::TryInvoke([&] { Move(Left(), Top(), FloatWidthTwips(), FloatHeightTwips()); });
        ZOrder(0);
    }
    // The form and the neighbours follow at once rather than on a later timer tick (which then
    // finds nothing left to do).
    AdjustOthers(Width(), Height(), false);
}

// Takes a docked control off its edge and gives it its float size where it is.
void SplitWindow::UndockToFloat() {
    dockChanging_ = true;
    if (OnForm() && Align() != kAlignNone) host::TryInvoke([&] { SetAlign(kAlignNone); });
    currentDock_ = kAlignNone;
    AdjustOthers(Width(), Height(), false);
    host::TryInvoke([&] { Move(Left(), Top(), FloatWidthTwips(), FloatHeightTwips()); });
    ResetChildren(true);
    ZOrder(0);
    dockChanging_ = false;
}

// ---- Placing the control for its edge -----------------------------------------------------------

void SplitWindow::ApplyDock() {
    std::int16_t edge = currentDock_;
    // An edge the user may not dock to, or a container that does not take docked controls,
    // leaves the control floating.
    if (!EdgeAllowed(edge) || (!OnForm() && !dockableContained_)) edge = kAlignNone;
    currentDock_ = edge;
    dockChanging_ = true;
    RefreshContainerArea();
    const float keepWidth = floatWidth_, keepHeight = floatHeight_;
    if (style_ == ToolBarWindow && edge != kAlignNone) TurnToolBar(VerticalEdge(edge));
    if (OnForm()) {
        host::TryInvoke([&] { SetAlign(edge); });
    } else if (edge != kAlignNone) {
        PlaceOnContainerEdge(edge);
    }
    // Turning the bar for its edge changes nothing of its floating shape.
    floatWidth_ = std::round(keepWidth);
    floatHeight_ = std::round(keepHeight);
    resizePending_ = active_;
    dockChanging_ = false;
}

// The offset along the container's other axis at which a control docked to `edge` goes: past
// every sibling of the same style already docked to that edge.
std::int32_t SplitWindow::DockOffset(std::int16_t edge) const {
    const ContainerArea& a = containerArea_;
    std::int32_t offset = edge == kAlignTop ? a.top : edge == kAlignLeft ? a.left
                        : edge == kAlignBottom ? a.top + a.height : a.left + a.width;
    for (const auto& s : SiblingWindows()) {
        if (s->currentDock_ != edge || s->style_ != style_) continue;
        switch (edge) {
            case kAlignTop: offset = std::max(offset, s->Top() + s->Height()); break;
            case kAlignBottom: offset = std::min(offset, s->Top()); break;
            case kAlignLeft: offset = std::max(offset, s->Left() + s->Width()); break;
            case kAlignRight: offset = std::min(offset, s->Left()); break;
            default: break;
        }
    }
    return offset;
}

// Inside a container other than the form the host aligns nothing: the control spans the
// container along its edge and stacks against the bars docked there before it.
void SplitWindow::PlaceOnContainerEdge(std::int16_t edge) {
    const ContainerArea& a = containerArea_;
    const std::int32_t offset = DockOffset(edge);
    host::TryInvoke([&] {
        if (HorizontalEdge(edge)) {
            const std::int32_t top = edge == kAlignTop ? offset : offset - Height();
            Move(a.left, top, std::max(0, a.width), Height());
        } else {
            const std::int32_t left = edge == kAlignLeft ? offset : offset - Width();
            Move(left, a.top, Width(), std::max(0, a.height));
        }
    });
}

// ---- The host's Align and the dock edge ----------------------------------------------------------

void SplitWindow::SyncAlign() {
    if (!OnForm()) return;
    const std::int16_t hostAlign = Align();
    // The Align this control gave the host itself (its current edge, which differs from the
    // configured one while that edge is not allowed) is no change made by the designer.
    if (hostAlign == configuredDock_ || hostAlign == currentDock_) return;
    if (configuredDock_ != kAlignNone) {
        SetDock(hostAlign);
        return;
    }
    host::TryInvoke([&] { SetAlign(kAlignNone); });
    const std::int32_t w = completedWidth_ > 0 ? completedWidth_ : Width();
    const std::int32_t h = completedHeight_ > 0 ? completedHeight_ : Height();
    host::TryInvoke([&] { Move(0, 0, w, h); });
    SetDock(hostAlign);
}

}  // namespace brimlox::controls
