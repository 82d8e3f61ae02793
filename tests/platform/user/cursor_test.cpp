// Icons and cursors: standard pointers, CreateIconIndirect / GetIconInfo / DrawIcon with the
// AND and XOR masks, destruction and leak counts.
#include "platform/gdi/bitmap.h"
#include "platform/user/cursor.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

using CursorTest = UserTest;

TEST_F(CursorTest, StandardCursorsAreSharedDistinctImages) {
    LPCSTR ids[] = {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW,
                    IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND, IDC_APPSTARTING, IDC_HELP};
    std::vector<std::vector<std::uint32_t>> images;
    for (LPCSTR id : ids) {
        HCURSOR c = LoadCursorA(nullptr, id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(LoadCursorA(nullptr, id), c) << "shared: the same handle every time";
        EXPECT_TRUE(DestroyCursor(c));
        EXPECT_EQ(LoadCursorA(nullptr, id), c) << "destroying a shared cursor does nothing";
        user::CursorPixels px = user::CursorImage(c);
        EXPECT_EQ(px.width, 32);
        for (const auto& other : images) EXPECT_NE(px.argb, other);
        images.push_back(px.argb);
    }
    EXPECT_EQ(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(1234)), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, "NoSuchCursor"), nullptr);

    // The sheet of all pointers over a grey background, for people to look at.
    Canvas sheet(14 * 36, 36, RGB(160, 160, 160));
    for (int i = 0; i < 14; ++i) EXPECT_TRUE(DrawIcon(sheet.dc(), 2 + 36 * i, 2, LoadCursorA(nullptr, ids[i])));
    EXPECT_TRUE(MatchesGolden(sheet.surface(), "user/standard_cursors"));
}

TEST_F(CursorTest, IconsOwnCopiesOfTheirBitmapsAndDrawThroughTheirMasks) {
    // 2 x 2 icon: top-left opaque red, top-right transparent, bottom-left inverts, bottom-right
    // opaque black.
    HBITMAP mask = CreateBitmap(2, 2, 1, 1, nullptr);
    HBITMAP color = CreateBitmap(2, 2, 1, 32, nullptr);
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, mask);
        SetPixel(dc, 0, 0, RGB(0, 0, 0));
        SetPixel(dc, 1, 0, RGB(255, 255, 255));
        SetPixel(dc, 0, 1, RGB(255, 255, 255));
        SetPixel(dc, 1, 1, RGB(0, 0, 0));
        SelectObject(dc, color);
        SetPixel(dc, 0, 0, RGB(255, 0, 0));
        SetPixel(dc, 1, 0, RGB(0, 0, 0));
        SetPixel(dc, 0, 1, RGB(255, 255, 255));
        SetPixel(dc, 1, 1, RGB(0, 0, 0));
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    ICONINFO info;
    info.fIcon = FALSE;
    info.xHotspot = 1;
    info.yHotspot = 0;
    info.hbmMask = mask;
    info.hbmColor = color;
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    DeleteObject(mask);  // the icon keeps its own copies
    DeleteObject(color);
    EXPECT_EQ(user::LiveIconCount(), 1u);

    Canvas c(4, 4, RGB(0, 128, 255));
    EXPECT_TRUE(DrawIcon(c.dc(), 1, 1, icon));
    EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(c.At(2, 1), RGB(0, 128, 255));
    EXPECT_EQ(c.At(1, 2), RGB(255, 127, 0)) << "AND 1, XOR white inverts";
    EXPECT_EQ(c.At(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(c.At(0, 0), RGB(0, 128, 255));

    ICONINFO back;
    ASSERT_TRUE(GetIconInfo(icon, &back));
    EXPECT_FALSE(back.fIcon);
    EXPECT_EQ(back.xHotspot, 1u);
    BITMAP bm;
    EXPECT_EQ(GetObjectA(back.hbmColor, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 2);
    DeleteObject(back.hbmMask);  // GetIconInfo's bitmaps belong to the caller
    DeleteObject(back.hbmColor);

    HICON copy = CopyIcon(icon);
    SetCursor(copy);
    EXPECT_EQ(GetCursor(), copy);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_EQ(GetCursor(), nullptr) << "a destroyed cursor is no longer current";
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIcon(c.dc(), 0, 0, icon));
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(c.dc())), nullptr) << "a DC is not a cursor";
    ICONINFO bad;
    EXPECT_EQ(CreateIconIndirect(&bad), nullptr) << "no mask";
}

}  // namespace
}  // namespace brimlox::test
