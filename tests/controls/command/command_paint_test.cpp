// Command: the looks, compared with pictures a person has checked.
#include <gtest/gtest.h>

#include "controls/command/command_test.h"
#include "platform/desktop/desktop.h"

namespace brimlox::test {
namespace {

using controls::Command;

// A 16 x 16 bitmap picture: a blue square with a yellow centre on magenta.
std::shared_ptr<host::StdPicture> SamplePicture() {
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    const int w = 16, h = 16, stride = 48, size = 54 + stride * h;
    auto le32 = [&](int v) {
        for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto le16 = [&](int v) {
        bmp.push_back(static_cast<std::uint8_t>(v));
        bmp.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    le32(size), le32(0), le32(54), le32(40), le32(w), le32(h), le16(1), le16(24), le32(0), le32(stride * h);
    le32(0), le32(0), le32(0), le32(0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool square = x >= 2 && x < 14 && y >= 2 && y < 14, centre = x >= 6 && x < 10 && y >= 6 && y < 10;
            std::uint8_t b = centre ? 0 : square ? 200 : 255, g = centre ? 220 : 0, r = centre ? 255 : square ? 40 : 255;
            bmp.push_back(b), bmp.push_back(g), bmp.push_back(r);
        }
    return host::StdPicture::FromBytes(bmp);
}

// The form's client area as the screen shows it.
void Capture(host::Form& form, Canvas& canvas) {
    host::DoEvents();
    desktop::Desktop::Instance().ComposeAll();
    RECT r{};
    GetWindowRect(form.hWnd(), &r);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
}

TEST_F(CommandTest, LooksMatchTheirPictures) {
    MakeForm();
    form->Move(0, 0, 400 * 15, 130 * 15);
    auto add = [&](const std::string& name, int x, int y, const std::string& caption) {
        auto b = AddButton(*form, name, x, y, 75, 25);
        b->SetCaption(caption);
        return b;
    };
    add("cmdPlain", 4, 4, "Plain");
    auto def = add("cmdDefault", 83, 4, "&Default");
    def->SetBevelOuter(4);
    def->SetDefault(true);
    add("cmdSoft", 162, 4, "Soft")->SetSoftButton(true);
    auto round = add("cmdRound", 241, 4, "Round");
    round->SetRounded(true);
    round->SetGradientPct(20);
    add("cmdGradient", 320, 4, "Gradient")->SetGradientPct(30);

    auto pic = add("cmdPicture", 4, 34, "Pic");
    pic->SetMaskColor(RGB(255, 0, 255));
    pic->SetUseMask(true);
    pic->SetPictureAlignment(controls::LeftMiddle);
    pic->SetPicture(SamplePicture());
    auto grey = add("cmdGrey", 83, 34, "");
    grey->SetMaskColor(RGB(255, 0, 255));
    grey->SetUseMask(true);
    grey->SetActiveColor(true);
    grey->SetPicture(SamplePicture());
    add("cmdInset", 162, 34, "Inset")->SetFont3D(controls::Inset3D);
    auto off = add("cmdOff", 241, 34, "Off");
    off->SetFont3D(controls::Raised3D);
    off->SetEnabled(false);
    auto menu = add("cmdMenu", 320, 34, "Menu");
    menu->SetMenuButton(true);
    menu->Menu().AddMenu("Item", host::Variant("i"));

    auto down = add("cmdDown", 4, 64, "Down");
    down->SetColorEffects(true);
    down->SetButtonColorDn(RGB(255, 255, 192));
    down->SetToggle(true);
    down->SetValue(true);
    for (int arrow = 1; arrow <= 16; ++arrow) {
        auto b = AddButton(*form, "cmdArrow" + std::to_string(arrow), 83 + (arrow - 1) * 19, 64, 19, 19);
        b->SetArrowType(static_cast<std::int16_t>(arrow));
    }
    auto flat = add("cmdFlat", 83, 94, "Flat");
    flat->SetButton3D(false);
    add("cmdBevel", 162, 94, "Bump")->SetBevelOuter(3);
    for (auto& c : form->Controls())
        if (auto b = std::dynamic_pointer_cast<Command>(c)) b->Refresh();

    Canvas canvas(400, 130);
    Capture(*form, canvas);
    EXPECT_TRUE(MatchesGolden(canvas.surface(), "controls/command_looks", 40));
}

// A transparent button continues its container's picture, however many tiles of it lie under
// the button.
TEST_F(CommandTest, ATransparentButtonContinuesTheContainersPictureOverManyTiles) {
    constexpr int kTileW = 5, kTileH = 3;
    auto colour = [](int x, int y) { return RGB(40 * x, 60 * y, 90); };
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    auto le = [&](int v, int n) {
        for (int i = 0; i < n; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const int stride = 16;  // 5 pixels of 3 bytes, padded to 4
    le(54 + stride * kTileH, 4), le(0, 4), le(54, 4), le(40, 4), le(kTileW, 4), le(kTileH, 4), le(1, 2), le(24, 2);
    le(0, 4), le(stride * kTileH, 4), le(0, 4), le(0, 4), le(0, 4), le(0, 4);
    for (int y = kTileH - 1; y >= 0; --y) {
        for (int x = 0; x < kTileW; ++x)
            bmp.push_back(GetBValue(colour(x, y))), bmp.push_back(GetGValue(colour(x, y))), bmp.push_back(GetRValue(colour(x, y)));
        bmp.push_back(0);
    }
    MakeForm();
    form->SetPicture(host::StdPicture::FromBytes(bmp));
    auto b = AddButton(*form, "cmdSeeThrough", 13, 7, 75, 25);
    b->SetTransparent(true);
    b->Refresh();
    host::DoEvents();
    int wrong = 0;
    for (int y = 4; y < 21; ++y)
        for (int x = 4; x < 71; ++x)
            if (GetPixel(b->hDC(), x, y) != colour((x + 13) % kTileW, (y + 7) % kTileH)) ++wrong;
    EXPECT_EQ(wrong, 0);
}

// A container without a picture still lends a transparent button its colour: a frame has a
// back colour and no picture.
TEST_F(CommandTest, ATransparentButtonInAFrameTakesTheFramesColour) {
    MakeForm();
    auto frame = form->Add("Frame", "fraHolder");
    frame->Move(0, 0, 120 * 15, 60 * 15);
    host::LetProperty(*frame, "BackColor", host::Variant(static_cast<std::int32_t>(RGB(30, 140, 90))));
    auto b = std::static_pointer_cast<Command>(form->Add("Command", "cmdInFrame", frame.get()));
    b->Move(20 * 15, 20 * 15, 75 * 15, 25 * 15);
    b->SetTransparent(true);
    b->Refresh();
    host::DoEvents();
    EXPECT_EQ(b->BackColor(), RGB(30, 140, 90));
    EXPECT_EQ(GetPixel(b->hDC(), 37, 12), RGB(30, 140, 90));
}

// The rows and columns of a menu button's face (left of its strip) that hold caption ink.
struct Ink {
    int top = 1 << 20, bottom = -1, left = 1 << 20, right = -1;
};

Ink CaptionInk(const Command& b) {
    RECT client{};
    GetClientRect(b.hWnd(), &client);
    Ink ink;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right - b.GetLayout().menuWidthPx; ++x)
            if (GetPixel(b.hDC(), x, y) == RGB(0, 0, 0)) {
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
            }
    return ink;
}

TEST_F(CommandTest, AMenuButtonDrawsItsWholeCaptionCentredLeftOfTheStripAtEveryScale) {
    for (int twipsPerPixel : {15, 10}) {
        SCOPED_TRACE(twipsPerPixel);
        desktop::Desktop::Instance().Configure({1024, 768, twipsPerPixel, true});
        MakeForm();
        auto b = AddButton(*form, "cmdFile", 10, 10, 75, 25);
        b->SetCaption("&File");
        b->SetMenuButton(true);
        b->Menu().AddMenu("New", host::Variant("new"));
        b->Refresh();
        const Ink ink = CaptionInk(*b);
        // The letters' tops and the mnemonic's underline below them: the whole text height.
        TEXTMETRICA tm{};
        GetTextMetricsA(b->hDC(), &tm);
        EXPECT_GE(ink.bottom - ink.top + 1, tm.tmAscent) << "ink rows " << ink.top << " to " << ink.bottom;
        const int faceCentre = (b->GetLayout().faceLeftPx + b->GetLayout().faceWidthPx - b->GetLayout().menuWidthPx) / 2;
        EXPECT_LE(std::abs((ink.left + ink.right) / 2 - faceCentre), 3) << ink.left << " to " << ink.right;
        form->Unload();
        form.reset();
    }
}

TEST_F(CommandTest, TheDropDownArrowStaysInsideItsStripAtEveryScale) {
    for (int twipsPerPixel : {15, 10, 8}) {
        SCOPED_TRACE(twipsPerPixel);
        desktop::Desktop::Instance().Configure({1024, 768, twipsPerPixel, true});
        MakeForm();
        auto b = AddButton(*form, "cmdDrop", 10, 10, 75, 25);
        b->SetMenuButton(true);
        b->Menu().AddMenu("New", host::Variant("new"));
        b->Refresh();
        RECT client{};
        GetClientRect(b->hWnd(), &client);
        const int strip = b->GetLayout().menuWidthPx;
        EXPECT_GE(strip, 9);
        if (twipsPerPixel == 15) EXPECT_EQ(strip, 9);
        // The arrow's ink lies within the strip, clear of the button's raised right edge.
        Ink arrow;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = client.right - strip; x < client.right; ++x)
                if (GetPixel(b->hDC(), x, y) == RGB(0, 0, 0))
                    arrow.left = std::min(arrow.left, x), arrow.right = std::max(arrow.right, x);
        ASSERT_GE(arrow.right, 0) << "no arrow drawn";
        EXPECT_GE(arrow.left, client.right - strip) << arrow.left << " to " << arrow.right;
        EXPECT_LE(arrow.right, client.right - 3) << arrow.left << " to " << arrow.right;
        form->Unload();
        form.reset();
    }
}

}  // namespace
}  // namespace brimlox::test
