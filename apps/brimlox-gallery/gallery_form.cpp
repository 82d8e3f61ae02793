// Event wiring of the gallery's main form. The handlers reach the controls late-bound (by name
// and property), as application code of the host does; the status line shows the last few
// events with their arguments, newest first.
#include "apps/brimlox-gallery/gallery_form.h"

#include "apps/brimlox-gallery/indicators_demo.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <span>

#include "controls/library.h"
#include "platform/host/form_file.h"
#include "platform/host/host_error.h"
#include "platform/host/runtime.h"
#include "platform/host/type_info.h"
#include "platform/user/user.h"

#ifndef BRIMLOX_FORMS_DIR
#define BRIMLOX_FORMS_DIR "forms"
#endif

namespace brimlox::gallery {

namespace {

using host::Variant;

// Everything the handlers share; owned by the handlers through a shared pointer, so it lives
// exactly as long as the form's connections.
struct GalleryState {
    host::Form* form = nullptr;
    std::deque<std::string> recent;
    int clicks = 0;

    std::shared_ptr<host::Control> Need(const std::string& name) const {
        auto c = form->Find(name);
        if (!c) throw host::HostError(424, "the gallery form has no control named " + name);
        return c;
    }
    void SetCaption(const std::string& name, const std::string& text) const {
        host::LetProperty(*Need(name), "Caption", Variant(text));
    }
    // Adds an event to the status line; three are shown, newest first.
    void Note(const std::string& text) {
        recent.push_front(text);
        if (recent.size() > 3) recent.pop_back();
        std::string line;
        for (const auto& r : recent) line += (line.empty() ? "" : "   |   ") + r;
        SetCaption("lblStatus", line);
    }
    std::int32_t Value(const std::string& bar) const { return host::GetProperty(*Need(bar), "Value").ToLong(); }
    void ShowMix() const {
        const int r = Value("sbrRed"), g = Value("sbrGreen"), b = Value("sbrBlue");
        SetCaption("lblValues", "Red " + std::to_string(r) + "  Green " + std::to_string(g) + "  Blue " + std::to_string(b));
        host::LetProperty(*Need("picSwatch"), "BackColor", Variant(static_cast<std::int32_t>(RGB(r, g, b))));
    }
};

std::string Arg(std::span<Variant> args, std::size_t i) { return i < args.size() ? args[i].ToString() : "?"; }

// Every Command logs its clicks and presses; MouseMove is left out, or it would drown the rest.
void WireCommandEvents(const std::shared_ptr<GalleryState>& s, host::Control& c) {
    const std::string name = c.Name();
    c.Connect("Click", [s, name](std::span<Variant>) { s->Note(name + " Click"); });
    for (const char* event : {"MouseDown", "MouseUp"}) {
        c.Connect(event, [s, name, event](std::span<Variant> a) {
            s->Note(name + " " + event + " (button " + Arg(a, 0) + ", x " + Arg(a, 2) + ", y " + Arg(a, 3) + ")");
        });
    }
    c.Connect("MenuClick", [s, name](std::span<Variant> a) { s->Note(name + " MenuClick \"" + Arg(a, 0) + "\""); });
}

// The arrow buttons step a bar by its SmallChange (step -1 or 1) or send it to an end (-2 or 2).
void WireArrow(const std::shared_ptr<GalleryState>& s, const std::string& button, const std::string& bar, int step) {
    s->Need(button)->Connect("Click", [s, bar, step](std::span<Variant>) {
        auto b = s->Need(bar);
        const std::int32_t min = host::GetProperty(*b, "Min").ToLong(), max = host::GetProperty(*b, "Max").ToLong();
        std::int32_t v = s->Value(bar);
        if (step == -2) v = min;
        else if (step == 2) v = max;
        else v = std::clamp(v + step * host::GetProperty(*b, "SmallChange").ToLong(), min, max);
        // Setting Value from code raises no Change, so the mix is shown here.
        host::LetProperty(*b, "Value", Variant(v));
        s->ShowMix();
        s->Note(bar + ".Value = " + std::to_string(v));
    });
}

void WireBars(const std::shared_ptr<GalleryState>& s) {
    for (const char* bar : {"sbrRed", "sbrGreen", "sbrBlue"}) {
        const std::string name = bar;
        s->Need(name)->Connect("Change", [s, name](std::span<Variant>) {
            s->ShowMix();
            s->Note(name + " Change " + std::to_string(s->Value(name)));
        });
        s->Need(name)->Connect("Scroll", [s, name](std::span<Variant>) {
            s->ShowMix();
            s->Note(name + " Scroll " + std::to_string(s->Value(name)));
        });
    }
    WireArrow(s, "cmdLeft", "sbrRed", -2);
    WireArrow(s, "cmdPrev", "sbrRed", -1);
    WireArrow(s, "cmdNext", "sbrRed", 1);
    WireArrow(s, "cmdRight", "sbrRed", 2);
    WireArrow(s, "cmdTop", "sbrBlue", -2);
    WireArrow(s, "cmdUp", "sbrBlue", -1);
    WireArrow(s, "cmdDown", "sbrBlue", 1);
    WireArrow(s, "cmdBottom", "sbrBlue", 2);
}

void WireBehaviour(const std::shared_ptr<GalleryState>& s) {
    s->Need("cmdRepeat")->Connect("Click", [s](std::span<Variant>) {
        s->SetCaption("lblCount", "Clicks: " + std::to_string(++s->clicks));
    });
    s->Need("cmdReset")->Connect("Click", [s](std::span<Variant>) {
        s->clicks = 0;
        s->SetCaption("lblCount", "Clicks: 0");
    });
    // The message box is a real modal dialog on a live desktop; headless runs log it.
    s->Need("cmdOK")->Connect("Click", [s](std::span<Variant>) {
        host::MsgBox("The default button was pressed.", MB_ICONINFORMATION, "Brimlox gallery");
        s->Note("message box answered");
    });
    for (const char* toggle : {"tglLeft", "tglCentre", "tglRight", "tglBold"}) {
        const std::string name = toggle;
        s->Need(name)->Connect("Click", [s, name](std::span<Variant>) {
            s->Note(name + " Value " + (host::GetProperty(*s->Need(name), "Value").ToBool() ? "True" : "False"));
        });
    }
}

// The tray icon reports its clicks; its menu brings the gallery to the front or shows the
// library's About box.
void WireTrayIcon(const std::shared_ptr<GalleryState>& s) {
    auto tray = s->form->Find("traGallery");
    if (!tray) return;
    for (const char* event : {"Click", "DblClick"}) {
        tray->Connect(event, [s, event](std::span<Variant> a) { s->Note(std::string("traGallery ") + event + " (button " + Arg(a, 0) + ")"); });
    }
    tray->Connect("MenuClick", [s](std::span<Variant> a) {
        const std::string tag = Arg(a, 0);
        s->Note("traGallery MenuClick \"" + tag + "\"");
        if (tag == "restore" && s->form->hWnd()) SetForegroundWindow(s->form->hWnd());
        if (tag == "about") host::MsgBox(std::string("Brimlox ") + controls::Version(), MB_ICONINFORMATION, "About Brimlox");
    });
}

// Sized by its frame, the form keeps the status line across its width and notes its new client
// size; a Resize that leaves the size as it was (the form shown, or back from the task strip)
// is not worth a line. Closed from its frame (the close button or the system menu), it asks
// first, and a Cancel keeps it open.
void WireFrame(const std::shared_ptr<GalleryState>& s) {
    host::Form& form = *s->form;
    auto size = std::make_shared<std::pair<float, float>>(form.ScaleWidth(), form.ScaleHeight());
    form.Connect("Resize", [s, size](std::span<Variant>) {
        host::Form& f = *s->form;
        if (f.WindowState() == 1) return;
        const std::pair<float, float> now{f.ScaleWidth(), f.ScaleHeight()};
        if (now == *size) return;
        *size = now;
        auto status = s->Need("lblStatus");
        const std::int32_t margin = host::GetProperty(*status, "Left").ToLong();
        host::LetProperty(*status, "Width", Variant(std::max<std::int32_t>(0, static_cast<std::int32_t>(now.first) - 2 * margin)));
        const int tpp = host::TwipsPerPixel();
        s->Note("frmGallery Resize (" + std::to_string(static_cast<int>(now.first) / tpp) + " x " +
                std::to_string(static_cast<int>(now.second) / tpp) + ")");
    });
    form.Connect("QueryUnload", [](std::span<Variant> a) {
        if (a.size() < 2 || a[1].ToInteger() != host::kFormControlMenu) return;
        if (host::MsgBox("Close the Brimlox gallery?", MB_OKCANCEL | MB_ICONQUESTION, "Brimlox gallery") == IDCANCEL)
            a[0] = Variant(true);
    });
}

// The document windows of the Windows frame take their titles from their Tag, so the window
// list of the menu button names them as a document application would.
void TitleDocuments(const GalleryState& s) {
    auto frame = s.Need("fraWindows");
    for (const auto& c : s.form->Controls())
        if (c->Container() == frame && !c->Tag().empty()) SetWindowTextA(c->hWnd(), c->Tag().c_str());
}

}  // namespace

std::string DefaultFormsDir() {
#ifdef BRIMLOX_INSTALLED_FORMS_DIR
    // An installed gallery no longer has the source tree; its forms sit in share/ beside bin/.
    std::error_code ec;
    if (!std::filesystem::is_directory(BRIMLOX_FORMS_DIR, ec)) {
        const auto installed = std::filesystem::path(host::App().Path) / ".." / BRIMLOX_INSTALLED_FORMS_DIR;
        if (std::filesystem::is_directory(installed, ec)) return installed.lexically_normal().string();
    }
#endif
    return BRIMLOX_FORMS_DIR;
}

std::shared_ptr<host::Form> OpenGalleryForm(const std::string& formsDir) {
    controls::RegisterLibrary();
    auto form = host::LoadFormFile(formsDir + "/gallery.json");
    auto state = std::make_shared<GalleryState>();
    state->form = form.get();
    try {
        for (const auto& c : form->Controls())
            if (c->TypeName() == "Command") WireCommandEvents(state, *c);
        WireBars(state);
        WireBehaviour(state);
        WireTrayIcon(state);
        WireFrame(state);
        TitleDocuments(*state);
        state->ShowMix();
        StartIndicatorDemo(*form);
    } catch (...) {
        form->Unload();
        throw;
    }
    return form;
}

POINT ScreenCentre(const host::Form& form, const std::string& control) {
    auto c = form.Find(control);
    if (!c || !c->hWnd()) throw host::HostError(424, "the gallery form has no windowed control named " + control);
    RECT r;
    GetWindowRect(c->hWnd(), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT FormPoint(const host::Form& form, int x, int y) {
    POINT p{x, y};
    ClientToScreen(form.hWnd(), &p);
    return p;
}

}  // namespace brimlox::gallery
