// Handle tables, selection and deletion rules, DC state.
#include <gtest/gtest.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/handles.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/surface_serial.h"
#include "support/gdi_test.h"

using brimlox::gdi::HandleTable;
using brimlox::gdi::ObjectKind;
using brimlox::test::Canvas;
using brimlox::test::GdiTest;

class GdiObjects : public GdiTest {};

TEST_F(GdiObjects, HandlesRefuseWrongKindsStaleValuesAndStockDeletion) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
    // A pen handle is not a DC and not a brush.
    EXPECT_EQ(SetROP2(reinterpret_cast<HDC>(pen), R2_XORPEN), 0);
    RECT r{0, 0, 1, 1};
    Canvas c(4, 4);
    EXPECT_EQ(FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(pen)), 0);
    EXPECT_TRUE(DeleteObject(pen));
    // The freed handle is stale now, even after its slot is reused.
    EXPECT_FALSE(DeleteObject(pen));
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_TRUE(DeleteObject(brush));
    // Stock objects survive DeleteObject and forged values are refused.
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(white));
    EXPECT_EQ(GetObjectType(white), OBJ_BRUSH);
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(0x1234)));
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST_F(GdiObjects, SelectedObjectDeletionIsDelayedUntilDeselected) {
    Canvas c(2, 2);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    HGDIOBJ old = SelectObject(c.dc(), pen);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN));
    std::size_t before = HandleTable::Instance().LiveCount(ObjectKind::Pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(HandleTable::Instance().LiveCount(ObjectKind::Pen), before) << "still selected, still alive";
    EXPECT_EQ(SelectObject(c.dc(), old), pen);
    EXPECT_EQ(HandleTable::Instance().LiveCount(ObjectKind::Pen), before - 1);
    EXPECT_EQ(GetObjectType(pen), 0u);
}

TEST_F(GdiObjects, BitmapsLiveInOneMemoryDcAtATimeAndNewDcsAreMono) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(a, BITSPIXEL), 1) << "a new memory DC holds a 1x1 mono bitmap";
    HBITMAP mono = CreateCompatibleBitmap(a, 8, 8);
    BITMAP bm;
    ASSERT_EQ(GetObjectA(mono, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2) << "device bitmap rows are padded to 16 bits";
    HBITMAP colour = CreateBitmap(3, 2, 1, 32, nullptr);
    HGDIOBJ oldA = SelectObject(a, colour);
    EXPECT_NE(oldA, nullptr);
    EXPECT_EQ(SelectObject(b, colour), nullptr) << "already selected into another DC";
    EXPECT_EQ(GetDeviceCaps(a, BITSPIXEL), 32);
    SelectObject(a, oldA);
    DeleteObject(colour);
    DeleteObject(mono);
    DeleteDC(a);
    DeleteDC(b);
    // Zero sizes give the shared 1x1 mono bitmap; overflowing sizes fail.
    HDC c = CreateCompatibleDC(nullptr);
    EXPECT_NE(CreateCompatibleBitmap(c, 0, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(c, -1, 5), nullptr);
    EXPECT_EQ(CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr), nullptr);
    DeleteDC(c);
}

TEST_F(GdiObjects, DcStateSettersReturnThePreviousValue) {
    Canvas c(1, 1);
    EXPECT_EQ(SetROP2(c.dc(), R2_NOTXORPEN), R2_COPYPEN);
    EXPECT_EQ(SetROP2(c.dc(), 0), 0) << "invalid mode refused";
    EXPECT_EQ(GetROP2(c.dc()), R2_NOTXORPEN);
    EXPECT_EQ(SetBkMode(c.dc(), TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkColor(c.dc(), RGB(1, 2, 3)), RGB(255, 255, 255));
    EXPECT_EQ(SetTextColor(c.dc(), RGB(4, 5, 6)), RGB(0, 0, 0));
    EXPECT_EQ(SetPolyFillMode(c.dc(), WINDING), ALTERNATE);
    EXPECT_EQ(SetStretchBltMode(c.dc(), COLORONCOLOR), BLACKONWHITE);
    POINT prev{};
    EXPECT_TRUE(MoveToEx(c.dc(), 5, 6, &prev));
    EXPECT_EQ(prev, (POINT{0, 0}));
    EXPECT_TRUE(GetCurrentPositionEx(c.dc(), &prev));
    EXPECT_EQ(prev, (POINT{5, 6}));
    EXPECT_EQ(SetBkMode(nullptr, OPAQUE), 0);
}

TEST_F(GdiObjects, DeviceCapsFollowTheConfiguredScale) {
    Canvas c(1, 1);
    EXPECT_EQ(GetDeviceCaps(c.dc(), LOGPIXELSX), 96);
    brimlox::gdi::SetTwipsPerPixel(10);
    EXPECT_EQ(GetDeviceCaps(c.dc(), LOGPIXELSY), 144);
    brimlox::gdi::SetTwipsPerPixel(15);
    EXPECT_EQ(GetDeviceCaps(c.dc(), PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(c.dc(), BITSPIXEL), 32);
}

// A DC whose window lies wholly outside its surface (a control below a form that has not
// grown yet) is clipped to nothing: an empty rectangle at the surface's corner, never an
// inverted one that a trace of it could not replay. It draws no pixel.
TEST_F(GdiObjects, ADcOutsideItsSurfaceHasAnEmptyClipAndDrawsNothing) {
    using brimlox::gdi::PixelFormat;
    using brimlox::gdi::Surface;
    auto window = Surface::Create(40, 30, PixelFormat::Bgrx32);
    HDC dc = brimlox::gdi::CreateSurfaceDC(window.get(), POINT{5, 33}, RECT{5, 33, 25, 50});
    const RECT clip = brimlox::gdi::LookupDc(dc)->Clip();
    EXPECT_EQ(clip.left, clip.right);
    EXPECT_EQ(clip.top, clip.bottom);
    EXPECT_GE(clip.left, 0);
    EXPECT_LE(clip.bottom, 30);
    const auto before = window->Get(10, 29);
    RECT all{-10, -40, 40, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(window->Get(x, y), before) << x << "," << y;
    DeleteDC(dc);
}

// Large pixel buffers are kept for reuse when their surface goes; a new surface of the same
// size gets one of them back, zeroed, under a serial number of its own, and a surface of
// another size never gets a buffer too small for it.
TEST_F(GdiObjects, ReusedPixelBuffersComeBackZeroedUnderANewSerial) {
    using brimlox::gdi::PixelFormat;
    using brimlox::gdi::Surface;
    auto first = Surface::Create(1500, 1000, PixelFormat::Bgrx32);  // past the 2 MB of a huge page
    ASSERT_TRUE(first);
    first->Clear(0x123456);
    const void* bits = first->Bits();
    const std::uint64_t serial = brimlox::gdi::SurfaceSerial(*first);
    first.reset();
    auto second = Surface::Create(1500, 1000, PixelFormat::Bgrx32);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Bits(), bits) << "the freed buffer was taken again";
    EXPECT_NE(brimlox::gdi::SurfaceSerial(*second), serial);
    for (int y = 0; y < 1000; y += 3)
        for (int x = 0; x < 1500; x += 7) ASSERT_EQ(second->Get(x, y), 0u) << x << "," << y;
    second->Clear(0xFFFFFF);
    second.reset();
    auto larger = Surface::Create(1500, 3000, PixelFormat::Bgrx32);
    ASSERT_TRUE(larger);
    larger->Clear(0x00FF00);  // writes every byte: a short buffer would fault or corrupt the heap
    EXPECT_EQ(larger->Get(1499, 2999), 0x00FF00u);
    // A filled surface on a buffer freed dirty holds its own colour in every pixel, and a
    // format whose rows are padded has the padding zeroed as a new surface does.
    larger.reset();
    auto filled = Surface::CreateFilled(1500, 3000, PixelFormat::Bgrx32, 0x336699);
    ASSERT_TRUE(filled);
    const auto* words = reinterpret_cast<const std::uint32_t*>(filled->Bits());
    for (std::size_t i = 0; i < filled->ByteSize() / 4; i += 97) ASSERT_EQ(words[i], 0x336699u) << i;
    EXPECT_EQ(words[filled->ByteSize() / 4 - 1], 0x336699u);
    filled->Clear(0xABCDEF);
    filled.reset();
    auto padded = Surface::CreateFilled(5, 3, PixelFormat::Rgb24, 0x102030);
    ASSERT_TRUE(padded);
    ASSERT_EQ(padded->ByteSize(), 3u * 16u);  // 15 bytes of pixels and one of padding a row
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(padded->Get(x, y), 0x102030u) << x << "," << y;
        EXPECT_EQ(padded->Bits()[y * 16 + 15], 0) << "row " << y;
    }
    auto mono = Surface::CreateFilled(13, 2, PixelFormat::Mono1, 0xFFFFFF);
    ASSERT_TRUE(mono);
    for (std::size_t i = 0; i < mono->ByteSize(); ++i) EXPECT_EQ(mono->Bits()[i], 0xFF) << i;
}
