// The off-screen buffer: its surface's lifetime, fills, pens (the wide NOT-XOR pen checked
// against what the reference GDI draws), framed and aligned text, pictures, Show, and its
// late-bound interface created by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/hidden_buffer.h"
#include "foundation/helpers/colour.h"
#include "platform/host/class_registry.h"
#include "platform/host/type_info.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

using drawing::HiddenBuffer;

constexpr COLORREF kWhite = RGB(255, 255, 255);

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
COLORREF At(const HiddenBuffer& b, int x, int y) { return GetPixel(b.hDC(), x, y); }

// Rows of column x that are not `background`, as a string of '#' and '.'.
std::string Column(const HiddenBuffer& b, int x, COLORREF background) {
    std::string s;
    for (int y = 0; y < b.Height(); ++y) s += At(b, x, y) == background ? '.' : '#';
    return s;
}

// A 24-bit bottom-up BMP file of w x h pixels, each pixel (x * 10, y * 10, 200).
std::vector<std::uint8_t> MakeBmp(int w, int h) {
    int stride = (w * 3 + 3) & ~3;
    int size = 54 + stride * h;
    std::vector<std::uint8_t> f(static_cast<std::size_t>(size), 0);
    auto put32 = [&](int at, int v) {
        for (int i = 0; i < 4; ++i) f[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    f[0] = 'B', f[1] = 'M';
    put32(2, size), put32(10, 54), put32(14, 40), put32(18, w), put32(22, h);
    f[26] = 1, f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::size_t at = 54 + static_cast<std::size_t>((h - 1 - y) * stride + x * 3);
            f[at] = 200, f[at + 1] = static_cast<std::uint8_t>(y * 10), f[at + 2] = static_cast<std::uint8_t>(x * 10);
        }
    return f;
}

class HiddenBufferTest : public GdiTest {};

TEST_F(HiddenBufferTest, SurfaceIsMadeReplacedAndReleased) {
    Canvas target(120, 60);
    HiddenBuffer b;
    EXPECT_FALSE(b.Attached());
    EXPECT_EQ(b.hDC(), nullptr);
    b.Clear(RGB(255, 0, 0));  // detached: nothing happens
    b.Show();
    EXPECT_EQ(target.At(5, 5), kWhite);

    EXPECT_EQ(b.Attach(target.dc(), 100, 50), 0);
    ASSERT_TRUE(b.Attached());
    EXPECT_EQ(At(b, 0, 0), Face());
    EXPECT_EQ(At(b, 99, 49), Face());
    EXPECT_EQ(GetPixel(b.hDC(), 100, 10), CLR_INVALID) << "the surface is exactly the size asked for";

    b.Resize(30, 20);
    EXPECT_EQ(At(b, 29, 19), Face());
    EXPECT_EQ(GetPixel(b.hDC(), 30, 0), CLR_INVALID);

    // A bitmap that cannot be made leaves the buffer detached, with nothing held.
    b.Resize(200000, 200000);
    EXPECT_FALSE(b.Attached());
    b.DrawLine(0, 0, 10, 10);
    b.DrawTextRect(0, 0, 10, 10, "x");
    b.Resize(10, 10);
    EXPECT_TRUE(b.Attached());
    // Destroying the buffer frees its DC and bitmap: the fixture checks no object is left.
}

TEST_F(HiddenBufferTest, FillsAreSolidWhateverTheDrawStyle) {
    Canvas target(40, 20);
    HiddenBuffer b;
    b.Attach(target.dc(), 40, 20);
    b.Clear(RGB(0, 0, 255));
    EXPECT_EQ(At(b, 3, 3), RGB(0, 0, 255));
    b.Clear(0);
    EXPECT_EQ(At(b, 3, 3), Face()) << "0 means the button face, not black";
    b.SetDrawStyle(1);  // dashed lines; a fill stays solid
    b.Clear(RGB(0, 255, 0));
    EXPECT_EQ(At(b, 3, 3), RGB(0, 255, 0));
    EXPECT_EQ(At(b, 39, 19), RGB(0, 255, 0));
    b.SetDrawStyle(2);
    b.DrawLine(5, 5, 15, 10, RGB(255, 0, 0), drawing::BF);
    EXPECT_EQ(At(b, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(At(b, 14, 9), RGB(255, 0, 0));
    EXPECT_EQ(At(b, 15, 9), RGB(0, 255, 0));
    b.SetDrawStyle(drawing::kDrawStyleInvisible);
    b.Clear(RGB(9, 9, 9));
    b.DrawLine(0, 0, 40, 20, RGB(9, 9, 9), drawing::BF);
    EXPECT_EQ(At(b, 3, 3), RGB(0, 255, 0)) << "the invisible style fills nothing";
}

TEST_F(HiddenBufferTest, PensFollowTypeWidthModeAndBox) {
    Canvas target(40, 30);
    HiddenBuffer b;
    b.Attach(target.dc(), 40, 30);
    b.Clear(kWhite);
    b.SetDrawWidth(0);
    EXPECT_EQ(b.DrawWidth(), 1);
    // A cosmetic pen is one pixel wide whatever DrawWidth says.
    b.SetDrawWidth(5);
    b.DrawLine(2, 10, 30, 10, RGB(0, 0, 0));
    EXPECT_EQ(Column(b, 10, kWhite), std::string(10, '.') + "#" + std::string(19, '.'));
    // A geometric one is DrawWidth wide.
    b.Clear(kWhite);
    b.SetPenType(drawing::GeometricPen);
    b.SetLineEndCap(drawing::FlatCap);
    b.DrawLine(2, 10, 30, 10, RGB(0, 0, 0));
    EXPECT_EQ(Column(b, 10, kWhite).find('#'), 8u);
    EXPECT_EQ(Column(b, 10, kWhite).rfind('#'), 12u);
    // An outlined box uses the pen; the NOT-XOR mode drawn twice restores the pixels.
    b.Clear(kWhite);
    b.SetPenType(drawing::CosmeticPen);
    b.DrawLine(5, 5, 20, 15, RGB(0, 0, 0), drawing::B);
    EXPECT_EQ(At(b, 5, 5), RGB(0, 0, 0));
    EXPECT_EQ(At(b, 19, 14), RGB(0, 0, 0));
    EXPECT_EQ(At(b, 12, 10), kWhite) << "Rectangle fills with the DC's white stock brush";
    b.SetDrawMode(R2_NOTXORPEN);
    b.DrawLine(0, 25, 30, 25, RGB(0, 0, 0));
    EXPECT_EQ(At(b, 10, 25), RGB(0, 0, 0));  // not (white xor black) = black
    b.DrawLine(0, 25, 30, 25, RGB(0, 0, 0));
    EXPECT_EQ(At(b, 10, 25), kWhite);
}

// The full-height flat NOT-XOR pen of the progress bar. The reference GDI covers the rows
// centre - width / 2 to centre - width / 2 + width - 1 and the columns x1 to x2 - 1, and inverts
// what lies there (a black start stays readable); these rows were read from it.
TEST_F(HiddenBufferTest, WideFlatNotXorPenCoversTheRowsTheReferenceDraws) {
    struct Case {
        int height, centre;
        std::string rows;
    };
    const Case cases[] = {
        {20, 10, std::string(20, '#')},
        {21, 11, "." + std::string(20, '#')},
        {7, 4, "." + std::string(6, '#')},
        {8, 4, std::string(8, '#')},
    };
    Canvas target(40, 30);
    for (const Case& c : cases) {
        HiddenBuffer b;
        b.Attach(target.dc(), 40, c.height);
        b.Clear(kWhite);
        b.DrawLine(0, 0, 5, c.height, RGB(0, 0, 0), drawing::BF);
        b.SetDrawMode(R2_NOTXORPEN);
        b.SetDrawWidth(static_cast<std::int16_t>(c.height));
        b.SetPenType(drawing::GeometricPen);
        b.SetLineEndCap(drawing::FlatCap);
        b.SetLineJoin(drawing::MiterJoin);
        b.DrawLine(0, c.centre, 17, c.centre, RGB(0, 0, 192));
        EXPECT_EQ(Column(b, 10, kWhite), c.rows) << "height " << c.height;
        EXPECT_EQ(Column(b, 16, kWhite), c.rows) << "height " << c.height;
        EXPECT_EQ(Column(b, 17, kWhite), std::string(static_cast<std::size_t>(c.height), '.'));
        // White under the pen becomes the pen colour; black becomes its inverse.
        EXPECT_EQ(At(b, 10, c.height - 1), RGB(0, 0, 192));
        EXPECT_EQ(At(b, 2, c.height - 1), RGB(255, 255, 63));
    }
}

TEST_F(HiddenBufferTest, TextIsClippedAlignedFramedAndUnlimited) {
    Canvas target(200, 40);
    HiddenBuffer b;
    b.Attach(target.dc(), 200, 40);
    b.SetBackColor(kWhite);
    b.SetForeColor(RGB(0, 0, 0));
    // Right alignment anchors the text's end (and its trailing blank) at X2.
    b.DrawTextRect(0, 0, 100, 20, "WWW", false, true, 1);
    EXPECT_EQ(GetTextAlign(b.hDC()) & TA_CENTER, TA_RIGHT);
    int lastInk = -1, firstInk = 200;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 20; ++y)
            if (At(b, x, y) == RGB(0, 0, 0)) lastInk = std::max(lastInk, x), firstInk = std::min(firstInk, x);
    EXPECT_LT(lastInk, 100);
    EXPECT_GT(lastInk, 90);
    EXPECT_EQ(At(b, 101, 5), Face()) << "the opaque box is the clip rectangle";
    EXPECT_EQ(At(b, 99, 19), kWhite);
    // The default alignment keeps the context's: still right-aligned.
    b.DrawTextRect(0, 20, 100, 40, "WWW");
    EXPECT_EQ(GetTextAlign(b.hDC()) & TA_CENTER, TA_RIGHT);
    // Text far longer than any fixed buffer is drawn and clipped.
    b.DrawTextRect(0, 0, 200, 20, std::string(10000, 'x'), false, true, 0);
    EXPECT_EQ(GetTextAlign(b.hDC()) & TA_CENTER, TA_LEFT);
    // Coordinates at the ends of the 32-bit range are safe (the frame's inner lines step in).
    b.DrawTextRect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, "far", true, false, 2);
    EXPECT_EQ(At(b, 100, 10), Face());

    // The 3D frame: highlight top and left, dark shadow bottom and right, shadow inside them;
    // the box behind the text is the button face, and the back colour is kept.
    b.Clear(kWhite);
    b.DrawTextRect(10, 5, 60, 30, "Hi", true);
    EXPECT_EQ(At(b, 30, 5), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(At(b, 10, 20), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(At(b, 30, 30), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(b, 60, 20), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(b, 30, 29), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(b, 59, 20), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(At(b, 50, 25), Face());
    EXPECT_EQ(b.BackColor(), kWhite);
    EXPECT_EQ(GetBkColor(b.hDC()), kWhite);
}

TEST_F(HiddenBufferTest, FontsAndPicturesAndShow) {
    Canvas target(80, 40);
    HiddenBuffer b;
    b.Attach(target.dc(), 80, 40);
    HGDIOBJ systemFont = GetCurrentObject(b.hDC(), OBJ_FONT);
    auto big = std::make_shared<host::StdFont>();
    big->SetSize(20);
    b.SetTextFont(big);
    EXPECT_EQ(GetCurrentObject(b.hDC(), OBJ_FONT), big->Handle());
    b.SetTextFont(nullptr);  // no font: ignored
    EXPECT_EQ(b.TextFont(), big);
    EXPECT_EQ(GetCurrentObject(b.hDC(), OBJ_FONT), big->Handle());
    // A new surface starts with the system font again.
    b.Resize(80, 40);
    EXPECT_NE(GetCurrentObject(b.hDC(), OBJ_FONT), big->Handle());
    EXPECT_EQ(GetObjectType(GetCurrentObject(b.hDC(), OBJ_FONT)), static_cast<DWORD>(OBJ_FONT));
    (void)systemFont;

    // Pictures are copied unscaled and clipped to the rectangle; none draws nothing.
    auto picture = host::StdPicture::FromBytes(MakeBmp(20, 10));
    b.DrawPicture(5, 5, 15, 25, picture);
    EXPECT_EQ(At(b, 5, 5), RGB(0, 0, 200));
    EXPECT_EQ(At(b, 14, 14), RGB(90, 90, 200));
    EXPECT_EQ(At(b, 15, 5), Face()) << "cut at X2";
    EXPECT_EQ(At(b, 5, 15), Face()) << "the picture is only 10 rows";
    b.DrawPicture(0, 0, 80, 40, nullptr);
    b.DrawPicture(0, 0, 80, 40, std::make_shared<host::StdPicture>());
    EXPECT_EQ(At(b, 0, 0), Face());

    b.Show();
    EXPECT_EQ(target.At(14, 14), RGB(90, 90, 200));
    EXPECT_EQ(target.At(79, 39), Face());
}

TEST_F(HiddenBufferTest, CreatedByNameAndDrivenLateBound) {
    Canvas target(50, 20);
    EXPECT_THROW(host::CreateObject("Brimlox.NoSuchClass"), host::HostError);
    try {
        host::CreateObject("NoSuchClass");
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), 429);
        EXPECT_NE(e.Description().find("NoSuchClass"), std::string::npos);
    }
    auto object = host::CreateObject("brimlox.hiddenbuffer");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->TypeName(), "HiddenBuffer");
    EXPECT_NE(host::CreateObject("HiddenBuffer"), object);

    host::CallMethod(*object, "Attach",
                     {host::Variant(drawing::HandleValue(target.dc())), host::Variant(50), host::Variant(20)});
    EXPECT_TRUE(host::GetProperty(*object, "Attached").ToBool());
    HDC dc = drawing::DcFromValue(host::GetProperty(*object, "hDC").ToLong());
    host::LetProperty(*object, "DrawWidth", host::Variant(std::int16_t{-3}));
    EXPECT_EQ(host::GetProperty(*object, "DrawWidth").ToInteger(), 1);
    host::CallMethod(*object, "Clear", {host::Variant(static_cast<std::int32_t>(RGB(255, 0, 0)))});
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
    host::CallMethod(*object, "Clear");
    EXPECT_EQ(GetPixel(dc, 1, 1), Face());
    host::CallMethod(*object, "DrawLine",
                     {host::Variant(0), host::Variant(0), host::Variant(10), host::Variant(10),
                      host::Variant(static_cast<std::int32_t>(RGB(0, 0, 255))), host::Variant(2)});
    EXPECT_EQ(GetPixel(dc, 9, 9), RGB(0, 0, 255));
    host::CallMethod(*object, "DrawTextRect",
                     {host::Variant(0), host::Variant(0), host::Variant(50), host::Variant(20), host::Variant("ok"),
                      host::Variant(true)});
    EXPECT_EQ(GetPixel(dc, 20, 0), GetSysColor(COLOR_3DHILIGHT));
    host::CallMethod(*object, "Show");
    EXPECT_EQ(target.At(20, 0), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_THROW(host::CallMethod(*object, "Flip"), host::HostError);
    EXPECT_THROW(host::CallMethod(*object, "DrawLine", {host::Variant(1)}), host::HostError);
    const host::TypeInfo* info = object->GetTypeInfo();
    std::vector<std::string> names;
    for (const auto& m : info->Members()) names.push_back(m.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Attach", "Attached", "hDC", "Resize", "Clear", "DrawLine", "DrawStyle",
                                               "PenType", "LineEndCap", "LineJoin", "DrawMode", "DrawWidth", "TextFont",
                                               "DrawTextRect", "ForeColor", "BackColor", "Show", "DrawPicture"}));
}

}  // namespace
}  // namespace brimlox::test
