// The scroll bar scene: a form with a horizontal and a vertical ScrollBar mixing the red and
// blue of a colour swatch, with a label that shows both values. A right click in each track
// (posted like real input) jumps the thumbs; their Change events repaint the swatch.
#include <string>

#include "apps/brimlox-gallery/scenes.h"
#include "controls/library.h"
#include "controls/scrollbar/scrollbar.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/host/standard_controls.h"
#include "platform/user/user.h"

namespace brimlox::gallery {

namespace {

using controls::ScrollBar;

std::shared_ptr<ScrollBar> AddBar(host::Form& form, int left, int top, int width, int height) {
    const int tpp = host::TwipsPerPixel();
    auto bar = std::static_pointer_cast<ScrollBar>(form.Add("ScrollBar"));
    bar->Move(left * tpp, top * tpp, width * tpp, height * tpp);
    bar->SetMax(255);
    bar->SetLargeChange(32);
    return bar;
}

// A right click at (x, y) pixels of the bar, as the mouse would deliver it.
void RightClick(const ScrollBar& bar, int x, int y) {
    PostMessageA(bar.hWnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    PostMessageA(bar.hWnd(), WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    host::DoEvents();
}

void DrawScrollBarScene(HDC dc, int width, int height) {
    controls::RegisterLibrary();
    const int tpp = host::TwipsPerPixel();
    auto form = host::Form::Create("frmScrollBars");
    form->SetBorderStyle(0);
    form->Move(0, 0, width * tpp, height * tpp);
    auto red = AddBar(*form, 10, 10, 300, 17);
    auto blue = AddBar(*form, 330, 10, 17, 160);
    blue->SetBorderStyle(3);
    blue->SetFont3D(controls::Inset3D);
    auto swatch = std::static_pointer_cast<host::PictureBox>(form->Add("PictureBox"));
    swatch->Move(10 * tpp, 40 * tpp, 150 * tpp, 130 * tpp);
    auto label = std::static_pointer_cast<host::Label>(form->Add("Label"));
    label->Move(170 * tpp, 40 * tpp, 150 * tpp, 60 * tpp);
    auto show = [&](std::span<host::Variant>) {
        swatch->SetBackColor(RGB(red->Value(), 96, blue->Value()));
        label->SetCaption("Red " + std::to_string(red->Value()) + "\nBlue " + std::to_string(blue->Value()));
    };
    show({});
    red->Connect("Change", show);
    blue->Connect("Change", show);
    form->Show();
    host::DoEvents();
    RightClick(*red, 230, 8);
    RightClick(*blue, 8, 50);
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    form->Unload();
}

}  // namespace

Scene ScrollBarScene() {
    return {"scrollbar",
            "ScrollBar: a horizontal and a vertical bar (Bump border, inset glyphs) mixing a colour swatch; a right "
            "click in each track moved the thumbs and their Change events updated the swatch and the label",
            360, 180, DrawScrollBarScene};
}

}  // namespace brimlox::gallery
