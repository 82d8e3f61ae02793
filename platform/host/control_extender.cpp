// The extender the host wraps around every control: name and index, position and size in
// twips, visibility, alignment along the form's edges, the container and the z-order.
#include <algorithm>

#include "platform/host/control.h"
#include "platform/host/form.h"
#include "platform/host/keyboard.h"
#include "platform/host/type_builder.h"
#include "platform/user/user.h"

namespace brimlox::host {

namespace {

// Twips snapped to whole pixels, as the windows holding them are.
std::int32_t SnapTwips(std::int32_t twips) {
    int tpp = TwipsPerPixel();
    return static_cast<std::int32_t>(RoundHalfEven(static_cast<double>(twips) / tpp)) * tpp;
}

// TabIndex and TabStop: the form keeps them (keyboard.h), so they are bound by hand.
void AddTabOrderMembers(TypeInfo& info) {
    auto self = [](Dispatch& d) -> Control& { return static_cast<Control&>(d); };
    MemberInfo index;
    index.name = "TabIndex";
    index.kind = MemberKind::Property;
    index.dispId = -813;
    index.help = "Returns/sets the tab order of an object within its parent form.";
    index.get = [self](Dispatch& d, std::span<Variant>) { return Variant(TabIndex(self(d))); };
    index.let = [self](Dispatch& d, std::span<Variant> a) {
        SetTabIndex(self(d), a.back().ToInteger());
        return Variant();
    };
    info.Add(std::move(index));
    MemberInfo stop;
    stop.name = "TabStop";
    stop.kind = MemberKind::Property;
    stop.dispId = -814;
    stop.help = "Returns/sets whether the user can use Tab to give the focus to the object.";
    stop.get = [self](Dispatch& d, std::span<Variant>) { return Variant(TabStop(self(d))); };
    stop.let = [self](Dispatch& d, std::span<Variant> a) {
        SetTabStop(self(d), a.back().ToBool());
        return Variant();
    };
    info.Add(std::move(stop));
}

std::shared_ptr<const TypeInfo> BuildExtenderInfo() {
    return TypeBuilder<Control>("Extender")
        .Property("Name", &Control::Name, &Control::SetName, "Returns the name used in code to identify the object.", -800)
        .Get("Index", &Control::Index, "Returns the number identifying the control in a control array.", -801)
        .Property("Left", &Control::Left, &Control::SetLeft, "Returns/sets the distance to the container's left edge.", -802)
        .Property("Top", &Control::Top, &Control::SetTop, "Returns/sets the distance to the container's top edge.", -803)
        .Property("Width", &Control::Width, &Control::SetWidth, "Returns/sets the width of the object.", -804)
        .Property("Height", &Control::Height, &Control::SetHeight, "Returns/sets the height of the object.", -805)
        .Property("Visible", &Control::Visible, &Control::SetVisible, "Returns/sets whether the object is visible.", -806)
        .Property("Align", &Control::Align, &Control::SetAlign, "Returns/sets the edge of the form the object docks to.", -807)
        .Property("Tag", &Control::Tag, &Control::SetTag, "Stores any extra data needed by the program.", -808)
        .With(AddTabOrderMembers)
        .Property("Container", &Control::Container, &Control::SetContainer, "Returns/sets the container of the object.", -809)
        .Get("Parent", &Control::Parent, "Returns the form the object is on.", -810)
        .Method("Move",
                [](Control& c, std::span<Variant> a) {
                    auto arg = [&](std::size_t i, std::int32_t current) {
                        return a.size() > i && !a[i].IsEmpty() ? a[i].ToLong() : current;
                    };
                    c.Move(arg(0, c.Left()), arg(1, c.Top()), arg(2, c.Width()), arg(3, c.Height()));
                    return Variant();
                },
                "Moves and sizes the object.", {{"Left"}, {"Top", true}, {"Width", true}, {"Height", true}}, -811)
        .Method("ZOrder",
                [](Control& c, std::span<Variant> a) {
                    c.ZOrder(a.empty() || a[0].IsEmpty() ? 0 : a[0].ToInteger());
                    return Variant();
                },
                "Places the object at the front or back of its container's z-order.", {{"Position", true}}, -812)
        .Build();
}

}  // namespace

const TypeInfo* Control::GetExtenderTypeInfo() const {
    static const auto info = BuildExtenderInfo();
    return info.get();
}

HWND Control::ContainerHwnd() const {
    if (container_) return container_->hWnd();
    return form_ ? form_->hWnd() : nullptr;
}

void Control::Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0) throw HostError(kErrInvalidPropertyValue);
    left = SnapTwips(left), top = SnapTwips(top), width = SnapTwips(width), height = SnapTwips(height);
    if (align_ != kAlignNone && !container_ && form_) {
        // An aligned control keeps its place on the edge; only its thickness is its own.
        bool vertical = align_ == kAlignTop || align_ == kAlignBottom;
        bool thicker = vertical ? height != height_ : width != width_;
        if (vertical) height_ = height;
        else width_ = width;
        if (thicker) form_->Arrange();
        return;
    }
    bool resized = width != width_ || height != height_;
    left_ = left, top_ = top, width_ = width, height_ = height;
    ApplyWindowPosition();
    if (resized) {
        ResizeMemorySurface();
        if (!terminated_) Resize();
    }
}

void Control::Site(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height, bool visible,
                   std::int16_t align, std::string tag) {
    left_ = SnapTwips(left), top_ = SnapTwips(top), width_ = SnapTwips(width), height_ = SnapTwips(height);
    visible_ = visible;
    align_ = align;
    tag_ = std::move(tag);
    ApplyWindowPosition();
}

void Control::PlaceAligned(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    bool resized = width != width_ || height != height_;
    left_ = left, top_ = top, width_ = width, height_ = height;
    ApplyWindowPosition();
    if (resized) {
        ResizeMemorySurface();
        if (!terminated_) Resize();
    }
}

void Control::ApplyWindowPosition() {
    if (!hwnd_) {
        // A windowless control is drawn by its container: repaint that instead.
        if (HWND c = ContainerHwnd(); c && IsWindowless()) InvalidateRect(c, nullptr, TRUE);
        return;
    }
    int tpp = TwipsPerPixel();
    MoveWindow(hwnd_, left_ / tpp, top_ / tpp, width_ / tpp, height_ / tpp, TRUE);
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (hwnd_) ShowWindow(hwnd_, ShownOnForm() ? SW_SHOWNA : SW_HIDE);
    else if (HWND c = ContainerHwnd()) InvalidateRect(c, nullptr, TRUE);
    if (align_ != kAlignNone && form_) form_->Arrange();
}

void Control::SetAlign(std::int16_t align) {
    if (align < kAlignNone || align > kAlignRight) throw HostError(kErrInvalidPropertyValue);
    // Only controls placed directly on the form can dock to its edges.
    if (align != kAlignNone && container_) throw HostError(kErrInvalidPropertyValue);
    if (align == align_) return;
    align_ = align;
    if (form_) form_->Arrange();
}

std::shared_ptr<Dispatch> Control::Container() const {
    if (container_) return container_->shared_from_this();
    return form_ ? form_->shared_from_this() : nullptr;
}

void Control::SetContainer(std::shared_ptr<Dispatch> container) {
    if (!form_) throw HostError(kErrObjectNotSet);
    Control* target = nullptr;
    if (auto asControl = std::dynamic_pointer_cast<Control>(container)) target = asControl.get();
    else if (container.get() != static_cast<Dispatch*>(form_)) throw HostError(kErrInvalidPropertyValue);
    if (target) {
        if (target->form_ != form_ || !target->IsContainer()) throw HostError(kErrInvalidPropertyValue);
        // Refuse a container cycle: the target may not be this control or lie inside it.
        for (Control* c = target; c; c = c->container_)
            if (c == this) throw HostError(kErrInvalidPropertyValue, "Invalid property value: a control cannot contain itself");
        if (align_ != kAlignNone) SetAlign(kAlignNone);
    }
    container_ = target;
    if (hwnd_) SetParent(hwnd_, ContainerHwnd());
    ApplyWindowPosition();
    form_->Arrange();
}

void Control::ZOrder(std::int16_t position) {
    if (form_) form_->Reorder(*this, position != 0);
    if (hwnd_) SetWindowPos(hwnd_, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else if (HWND c = ContainerHwnd()) InvalidateRect(c, nullptr, TRUE);
}

std::shared_ptr<Form> Control::Parent() const {
    return form_ ? std::static_pointer_cast<Form>(form_->shared_from_this()) : nullptr;
}

}  // namespace brimlox::host
