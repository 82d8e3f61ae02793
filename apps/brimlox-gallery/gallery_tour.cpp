// The headless tour. Positions come from the controls' windows, so the tour follows the form
// file when its layout changes. The drop-down menu is walked with the keyboard, which does not
// depend on the menu's item heights.
#include "apps/brimlox-gallery/gallery_tour.h"

#include <sstream>

#include "apps/brimlox-gallery/gallery_form.h"
#include "platform/shell/notify_area.h"
#include "platform/user/user.h"

namespace brimlox::gallery {

namespace {

class TourWriter {
public:
    explicit TourWriter(const host::Form& form) : form_(form) {}

    TourWriter& MoveTo(const std::string& control, int dx = 0, int dy = 0) {
        const POINT p = ScreenCentre(form_, control);
        return Line("move " + std::to_string(p.x + dx) + " " + std::to_string(p.y + dy));
    }
    // A control's edge point: `fx`, `fy` in [0, 1] across its window.
    TourWriter& MoveAcross(const std::string& control, double fx, double fy) {
        RECT r;
        GetWindowRect(form_.Find(control)->hWnd(), &r);
        const int x = r.left + static_cast<int>((r.right - r.left - 1) * fx);
        const int y = r.top + static_cast<int>((r.bottom - r.top - 1) * fy);
        return Line("move " + std::to_string(x) + " " + std::to_string(y));
    }
    // The point `dx` pixels right of a control's window, half way down.
    TourWriter& MoveRightOf(const std::string& control, int dx) {
        RECT r;
        GetWindowRect(form_.Find(control)->hWnd(), &r);
        return Line("move " + std::to_string(r.right + dx) + " " + std::to_string((r.top + r.bottom) / 2));
    }
    // A point of the form's client area, so the tour does not depend on the frame around it.
    TourWriter& MoveInForm(int x, int y) {
        const POINT p = FormPoint(form_, x, y);
        return Line("move " + std::to_string(p.x) + " " + std::to_string(p.y));
    }
    TourWriter& Line(const std::string& line) {
        text_ << line << "\n";
        return *this;
    }
    TourWriter& Wait(int ms) { return Line("wait " + std::to_string(ms) + "ms"); }
    TourWriter& Keys(const std::string& key, int times = 1) {
        for (int i = 0; i < times; ++i) Line("key press " + key).Wait(120);
        return *this;
    }
    TourWriter& Shot(const std::string& name, const std::string& caption) {
        shots_.push_back({name, caption});
        return Line("screenshot " + name);
    }
    Tour Finish() { return {text_.str(), shots_}; }

private:
    const host::Form& form_;
    std::ostringstream text_;
    std::vector<TourShot> shots_;
};

// The tray icon: a click on it in the tray strip opens its menu at the cursor once the
// double-click time has passed without a second click.
void AddTrayTour(TourWriter& t) {
    const RECT strip = shell::NotifyArea::Instance().StripRect();
    if (IsRectEmpty(&strip)) return;
    t.Line("move " + std::to_string(strip.left + 12) + " " + std::to_string(strip.top + 12)).Wait(100);
    t.Line("click left").Wait(GetDoubleClickTime() + 300);
    t.Shot("tray-menu", "TrayIcon: a click on the icon in the tray strip at the bottom right opens its menu at "
                        "the cursor after the double-click time");
    t.Keys("VK_ESCAPE").MoveInForm(2, 2).Wait(300);
}

// The floating tool bar: carried by its grip past the form's bottom it docks there (the form
// grows by its height, AutoAdjustForm), pulled off again it floats where it was, and a right
// press on its grip turns it into a column.
void AddToolBarTour(TourWriter& t) {
    t.MoveAcross("tbrFloat", 0.02, 0.5).Line("down left").Wait(100);
    t.MoveInForm(400, 700).Wait(100).MoveInForm(400, 836).Wait(100).Line("up left").Wait(400);
    t.Shot("toolbar-docked", "SplitWindow tool bar: dragged by its grip past the form's bottom edge it docked "
                             "there, and the form grew by the bar's height so the other controls keep their room");
    t.MoveInForm(4, 830).Line("down left").Wait(100).MoveInForm(300, 560).Wait(100).MoveInForm(399, 482).Wait(100);
    t.Line("up left").Wait(300).MoveInForm(2, 2).Wait(300);
    t.Shot("toolbar-floating", "Pulled off its edge by the grip, the tool bar floats again at its float size and "
                               "the form shrank back");
    t.MoveAcross("tbrFloat", 0.02, 0.5).Line("click right").Wait(300).MoveInForm(2, 2).Wait(300);
    t.Shot("toolbar-turned", "A right press on the grip of the floating tool bar turned it into a column, its "
                             "new length one and a half times its old thickness");
}

}  // namespace

Tour GalleryTour(const host::Form& form) {
    TourWriter t(form);
    t.MoveInForm(2, 2).Wait(100);
    t.Shot("gallery", "The gallery form as loaded from forms/gallery.json: Command in its looks (plain, flat, "
                      "soft, rounded, gradient, inset caption with a wider bevel, picture, arrow glyphs), the "
                      "default, cancel and menu buttons, a toggle group, an auto-repeat counter, three scroll bars, and "
                      "Divider in every style on a tool bar, on the frame and over gradients");
    t.MoveTo("cmdFlat").Wait(200);
    t.Shot("flat-hover", "Flat button (ActiveBorder) under the mouse: its border rises while the pointer is over it");
    t.MoveTo("cmdPicture").Wait(200);
    t.Shot("picture-hover", "Picture button with ActiveColor: grey until the mouse is over it, then in colour");
    t.MoveTo("tglRight").Line("click left").Wait(600).MoveTo("tglBold").Line("click left").Wait(300);
    t.Shot("toggle-group", "Toggle group: pressing Right released Left; Bold toggles on its own; the status line "
                           "shows the events as they were raised");
    t.MoveTo("cmdRepeat").Line("down left").Wait(1000);
    t.Shot("auto-repeat", "Auto-repeat: the button held for one second (AutoDelay 400 ms, AutoInterval 100 ms), "
                          "the label counting its Click events");
    t.Line("up left").Wait(300);
    t.MoveAcross("sbrRed", 0.985, 0.5).Line("down left").Wait(700).Line("up left").Wait(200);
    t.MoveAcross("sbrBlue", 0.5, 0.25).Line("click right").Wait(200);
    t.MoveTo("cmdPrev").Line("click left").Wait(600).MoveTo("cmdNext").Line("click left").Wait(300);
    t.Shot("scroll-bars", "ScrollBar: the red bar's right arrow held (auto-repeat), a right click in the blue "
                          "bar's track (jump), then the arrow buttons; Change events mix the swatch");
    t.MoveAcross("cmdMenu", 0.96, 0.5).Line("click left").Wait(300).Keys("VK_DOWN", 4).Keys("VK_RIGHT").Keys("VK_DOWN", 2);
    t.Keys("VK_RIGHT").Wait(200);
    t.Shot("menu", "Drop-down menu: a title, icons, shortcut text, a submenu two levels deep, a titled separator, "
                   "radio items, a check item, a disabled item and the window list");
    t.Keys("VK_ESCAPE", 3).Wait(300);
    t.MoveAcross("cmdMenu", 0.96, 0.5).Line("click left").Wait(300).Keys("L").Wait(300);
    t.Shot("menu-choice", "The radio item Large chosen by its mnemonic: MenuClick reports its Tag");
    t.MoveInForm(2, 2).Keys("VK_RETURN").Wait(300).Keys("VK_ESCAPE").Wait(300);
    t.Shot("default-button", "Enter pressed the default button, whose Click shows a message box (logged and "
                             "answered in headless runs, a real dialog in the live window), and Escape the "
                             "cancel button");
    // Grabbed 5 pixels in from its left end and carried over the lying dividers.
    t.MoveTo("divGradDip", -58, 0).Line("key down VK_MENU").Line("down left").Wait(100);
    t.MoveTo("divGradDip", -90, 6).Wait(100).MoveTo("divGradDip", -120, 10).Wait(200);
    t.Shot("divider-drag", "Divider: Alt and the left button lift the gradient dip divider; it follows the mouse "
                           "and shows as a bump while dragged");
    t.Keys("VK_ESCAPE").MoveTo("divGradDip", -110, 8).Wait(100).Line("up left").Line("key up VK_MENU");
    t.MoveInForm(2, 2).Wait(300);
    t.Shot("divider-back", "Escape during the drag put the divider back where it was, a dip again; the Cancel "
                           "button did not see the key");
    t.Wait(1500);
    t.Shot("indicators", "ProgressBar counting up on a timer: plain, segmented, with its percentage inverting over "
                         "the fill, and a marquee block for work of unknown length; beside them captions turned "
                         "by CLogFont and drawn through a HiddenBuffer");
    // The gap right of the Outline pane, pressed and carried 60 pixels to the right.
    t.MoveRightOf("picOutline", 1).Wait(200).Line("down left").Wait(100);
    t.MoveRightOf("picOutline", 31).Wait(100).MoveRightOf("picOutline", 61).Wait(100);
    t.Shot("splitter-drag", "SplitWindow: the gap between two panes dragged with the mouse; a line XOR-drawn on "
                            "the screen shows where it goes");
    t.Line("up left").Wait(300).MoveInForm(2, 2).Wait(300);
    t.Shot("splitter-moved", "The release moved the boundary: the Outline pane grew, the nested splitter beside it "
                             "shrank and laid out its own two panes again");
    AddTrayTour(t);
    AddToolBarTour(t);
    return t.Finish();
}

}  // namespace brimlox::gallery
