#include "apps/brimlox-gallery/indicators_demo.h"

#include <memory>
#include <span>
#include <string>

#include "platform/host/class_registry.h"
#include "platform/host/control.h"
#include "platform/host/font.h"
#include "platform/host/host_error.h"
#include "platform/host/runtime.h"
#include "platform/host/type_info.h"
#include "platform/user/timer.h"
#include "platform/user/user.h"

namespace brimlox::gallery {

namespace {

using host::Variant;

constexpr int kTickMs = 100;
constexpr int kSpokes = 6;

std::int32_t Long(HGDIOBJ handle) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle)));
}

// The demo's state: the bars it steps, the picture box it draws on, and the two drawing
// objects, which it reaches only by their member names. The picture box's Paint handler owns
// the demo, so the demo holds the form's controls weakly: a strong hold would keep them, and
// itself, alive after the form is gone.
struct IndicatorDemo {
    std::weak_ptr<host::Control> plain, segmented, text, picture;
    std::shared_ptr<host::Dispatch> buffer = host::CreateObject("Brimlox.HiddenBuffer");
    std::shared_ptr<host::Dispatch> font = host::CreateObject("Brimlox.CLogFont");
    std::unique_ptr<user::HostTimer> timer;
    int angle = 0;
    int width = 0, height = 0;

    // Steps a bar by `step`, starting again from 0 after its Max.
    static void Step(host::Control& bar, int step) {
        std::int32_t max = host::GetProperty(bar, "Max").ToLong();
        std::int32_t v = host::GetProperty(bar, "Value").ToLong() + step;
        host::LetProperty(bar, "Value", Variant(v > max ? 0 : v));
    }

    void Tick() {
        auto p = plain.lock(), s = segmented.lock(), t = text.lock(), box = picture.lock();
        if (!p || !s || !t || !box) return;
        Step(*p, 1);
        Step(*s, 2);
        Step(*t, 1);
        angle = (angle + 6) % 360;
        host::CallMethod(*box, "Refresh");
    }

    // The buffer follows the picture box's size; a new surface is made only when it changed.
    void Attach(host::Control& box) {
        RECT r;
        GetClientRect(box.hWnd(), &r);
        if (r.right == width && r.bottom == height && host::GetProperty(*buffer, "Attached").ToBool()) return;
        width = r.right, height = r.bottom;
        host::CallMethod(*buffer, "Attach", {Variant(Long(box.hDC())), Variant(width), Variant(height)});
    }

    // A fan of captions turning about the box's centre, and the angle in an upright corner label.
    void Paint() {
        auto box = picture.lock();
        if (!box) return;
        Attach(*box);
        host::CallMethod(*buffer, "Clear", {Variant(static_cast<std::int32_t>(RGB(255, 255, 255)))});
        auto dc = reinterpret_cast<HDC>(static_cast<std::uintptr_t>(
            static_cast<std::uint32_t>(host::GetProperty(*buffer, "hDC").ToLong())));
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_BASELINE);
        const COLORREF colours[kSpokes] = {RGB(0, 0, 160), RGB(160, 0, 0), RGB(0, 120, 0),
                                           RGB(120, 0, 120), RGB(0, 110, 130), RGB(150, 90, 0)};
        for (int k = 0; k < kSpokes; ++k) {
            host::LetProperty(*font, "Rotation", Variant(static_cast<float>(angle + k * 360 / kSpokes)));
            auto hfont = reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(
                static_cast<std::uint32_t>(host::GetProperty(*font, "Handle").ToLong())));
            HGDIOBJ old = SelectObject(dc, hfont);
            SetTextColor(dc, colours[k]);
            TextOutA(dc, width / 2, height / 2, "   CLogFont", 11);
            SelectObject(dc, old);
        }
        host::LetProperty(*buffer, "ForeColor", Variant(0));
        host::CallMethod(*buffer, "DrawTextRect",
                         {Variant(4), Variant(4), Variant(64), Variant(20),
                          Variant(std::to_string(angle) + " deg"), Variant(true), Variant(true), Variant(0)});
        host::CallMethod(*buffer, "Show");
    }
};

std::shared_ptr<host::Control> Need(host::Form& form, const std::string& name) {
    auto c = form.Find(name);
    if (!c) throw host::HostError(424, "the gallery form has no control named " + name);
    return c;
}

}  // namespace

void StartIndicatorDemo(host::Form& form) {
    auto demo = std::make_shared<IndicatorDemo>();
    demo->plain = Need(form, "prgPlain");
    demo->segmented = Need(form, "prgSegmented");
    demo->text = Need(form, "prgText");
    demo->picture = Need(form, "picRotated");
    auto face = std::make_shared<host::StdFont>();
    face->SetName("Arial");
    face->SetSize(8);
    face->SetBold(true);
    std::vector<Variant> args{Variant(std::static_pointer_cast<host::Dispatch>(face))};
    host::Invoke(*demo->font, "LogFont", host::InvokeKind::PropertySet, args);
    // The picture box's Paint handler owns the demo; the timer only looks at it.
    std::weak_ptr<IndicatorDemo> weak = demo;
    demo->timer = std::make_unique<user::HostTimer>([weak] {
        if (auto d = weak.lock()) host::RunHostEvent([&] { d->Tick(); });
    });
    demo->timer->SetInterval(kTickMs);
    demo->timer->SetEnabled(true);
    auto box = Need(form, "picRotated");
    box->Connect("Paint", [demo](std::span<Variant>) { demo->Paint(); });
    host::CallMethod(*box, "Refresh");
}

}  // namespace brimlox::gallery
