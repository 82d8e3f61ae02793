// DIB sections of every layout: what SetPixel, GetPixel, PatBlt and BitBlt do with them and
// which headers CreateDIBSection refuses, against the record Windows (as wine implements it)
// gave for the same calls (tools/wine/run_dib_format_probe.sh).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/handles.h"
#include "support/paths.h"
#include "wine_record.h"

using namespace brimlox::gdi;
#include "dib_format_cases.h"

namespace {

TEST(DibSection, EveryLayoutDrawsAndConvertsAsWindowsDoes) {
    const std::string record = brimlox::test::ReadWineRecord("dib_formats_wine.txt");
    ASSERT_FALSE(record.empty());
    const std::size_t live = HandleTable::Instance().LiveCount();
    for (const auto& c : dib_format_cases::kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dib_format_cases::Run(c), brimlox::test::WineRecordBlock(record, c.name));
    }
    EXPECT_EQ(HandleTable::Instance().LiveCount(), live);
}

TEST(DibSection, RefusesTheHeadersWindowsRefuses) {
    const std::string record = brimlox::test::ReadWineRecord("dib_formats_wine.txt");
    EXPECT_EQ(dib_format_cases::RunRefusals(), brimlox::test::WineRecordRefusals(record));
}

TEST(DibSection, ReportsItsLayoutThroughGetObject) {
    dib_format_cases::Info info = dib_format_cases::MakeInfo(dib_format_cases::kCases[8]);  // 16 bpp 5-6-5
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    DIBSECTION ds;
    ASSERT_EQ(GetObjectA(bmp, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 16);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 20);
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biSizeImage, 60u);
    EXPECT_EQ(ds.dsBitfields[0], 0xF800u);
    EXPECT_EQ(ds.dsBitfields[1], 0x07E0u);
    EXPECT_EQ(ds.dsBitfields[2], 0x001Fu);
    DeleteObject(bmp);
}

}  // namespace
