// Event wiring and tour of the gallery's DreamBar page. As on the main form, the handlers reach
// the controls late-bound, by name and property.
#include "apps/brimlox-gallery/dreambar_page.h"

#include <deque>
#include <span>
#include <sstream>

#include "apps/brimlox-gallery/gallery_form.h"
#include "controls/library.h"
#include "platform/host/form_file.h"
#include "platform/host/host_error.h"
#include "platform/host/type_info.h"
#include "platform/user/user.h"

namespace brimlox::gallery {

namespace {

using host::Variant;

const char* const kBars[] = {"dbrTools", "dbrFiles", "dbrSearch", "dbrHelp", "dbrProps", "dbrNotes"};

const char* const kNotes =
    "The top bar hides itself and shows itself under the mouse, and holds two tool windows as "
    "bands: dropped on each other, they were put side by side. The bars on the left form an "
    "accordion: click a caption strip to open it. A right click on the bar on the right "
    "minimises it to the left, where its caption reads upwards. This text is printed by the "
    "bar, wrapped to a width.";

struct PageState {
    host::Form* form = nullptr;
    std::deque<std::string> recent;

    std::shared_ptr<host::Control> Need(const std::string& name) const {
        auto c = form->Find(name);
        if (!c) throw host::HostError(424, "the DreamBar page has no control named " + name);
        return c;
    }
    // Shows the last two events, newest first.
    void Note(const std::string& text) {
        recent.push_front(text);
        if (recent.size() > 2) recent.pop_back();
        std::string line;
        for (const auto& r : recent) line += (line.empty() ? "" : "\r\n") + r;
        host::LetProperty(*Need("lblStatus"), "Caption", Variant(line));
    }
};

void WireBars(const std::shared_ptr<PageState>& s) {
    for (const char* name : kBars) {
        const std::string bar = name;
        s->Need(bar)->Connect("Changed", [s, bar](std::span<Variant> a) {
            const bool minimized = !a.empty() && a[0].ToBool();
            s->Note(bar + (minimized ? " minimised" : " expanded") + " (SizeChange " +
                    (a.size() > 1 ? a[1].ToString() : "?") + ")");
        });
    }
    for (const auto& c : s->form->Controls()) {
        if (c->TypeName() != "Command") continue;
        const std::string name = c->Name();
        c->Connect("Click", [s, name](std::span<Variant>) { s->Note(name + " Click"); });
    }
}

// The notes bar prints its message on every paint, wrapped to its width less a margin.
void ShowNotes(const PageState& s) {
    auto notes = s.Need("dbrNotes");
    const std::int32_t width = host::GetProperty(*notes, "Width").ToLong();
    std::vector<Variant> args = {Variant(std::int32_t{0}), Variant(150.0f), Variant(450.0f),
                                 Variant(static_cast<float>(width - 300)), Variant(0.0f), Variant(std::string(kNotes))};
    host::Invoke(*notes, "Message", host::InvokeKind::PropertyLet, args);
}

class PageTourWriter {
public:
    explicit PageTourWriter(const host::Form& form) : form_(form) {}
    // The point at `fx`, `fy` (0 to 1) across a control's window.
    PageTourWriter& MoveAcross(const std::string& control, double fx, double fy) {
        RECT r;
        GetWindowRect(form_.Find(control)->hWnd(), &r);
        const int x = r.left + static_cast<int>((r.right - r.left - 1) * fx);
        const int y = r.top + static_cast<int>((r.bottom - r.top - 1) * fy);
        return Line("move " + std::to_string(x) + " " + std::to_string(y));
    }
    // A point of the page's client area.
    PageTourWriter& MoveInForm(int x, int y) {
        const POINT p = FormPoint(form_, x, y);
        return Line("move " + std::to_string(p.x) + " " + std::to_string(p.y));
    }
    PageTourWriter& Line(const std::string& line) {
        text_ << line << "\n";
        return *this;
    }
    PageTourWriter& Wait(int ms) { return Line("wait " + std::to_string(ms) + "ms"); }
    PageTourWriter& Shot(const std::string& name, const std::string& caption) {
        shots_.push_back({name, caption});
        return Line("screenshot " + name);
    }
    Tour Finish() { return {text_.str(), shots_}; }

private:
    const host::Form& form_;
    std::ostringstream text_;
    std::vector<TourShot> shots_;
};

}  // namespace

std::shared_ptr<host::Form> OpenDreamBarPage(const std::string& formsDir) {
    controls::RegisterLibrary();
    auto form = host::LoadFormFile(formsDir + "/dreambars.json");
    auto state = std::make_shared<PageState>();
    state->form = form.get();
    try {
        WireBars(state);
        ShowNotes(*state);
    } catch (...) {
        form->Unload();
        throw;
    }
    return form;
}

// Positions come from the windows as they are when the tour is written: the top bar is its
// caption strip then, and the accordion shows Files open.
Tour DreamBarTour(const host::Form& form) {
    PageTourWriter t(form);
    t.MoveInForm(330, 420).Wait(300);
    t.Shot("dreambars", "DreamBar page (forms/dreambars.json): the top bar hidden to its caption strip, the "
                        "accordion on the left with Files open and the two bars below it saved minimised, the "
                        "Properties bar on the right with its caption bar, and a message wrapped by the bar");
    t.MoveAcross("dbrTools", 0.5, 0.5).Wait(600);
    t.Shot("dreambars-shown", "The mouse on the top strip: the bar showed itself (over 150 ms), its two tool "
                              "windows arranged as bands side by side, and the notes moved down with it");
    t.MoveInForm(330, 600).Wait(1000);
    t.Shot("dreambars-hidden", "The mouse left the top bar: after its AutoHideDelay it hid again and the notes "
                               "moved back up");
    t.MoveAcross("dbrSearch", 0.5, 0.5).Line("click left").Wait(400);
    t.Shot("dreambars-accordion", "A click on the Search strip opened Search; Files closed and Help moved down "
                                  "with the change, as an accordion");
    t.MoveAcross("dbrProps", 0.6, 0.5).Line("click right").Wait(400).MoveInForm(330, 600).Wait(200);
    t.Shot("dreambars-rotated", "A right click minimised the Properties bar to the left: a strip whose caption "
                                "reads upwards; the status line shows the Changed events");
    return t.Finish();
}

}  // namespace brimlox::gallery
