// The rotatable font: the copied font, the handle's lifetime, the LOGFONT record at several
// angles and screen scales, unsafe input made safe, rotated text drawn through a buffer, the
// memory bound of glyphs drawn at many angles, and the late-bound interface.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "drawing/clog_font.h"
#include "drawing/hidden_buffer.h"
#include "platform/gdi/text/glyph_cache.h"
#include "platform/host/class_registry.h"
#include "platform/host/type_info.h"
#include "support/gdi_test.h"

namespace brimlox::test {
namespace {

using drawing::CLogFont;

LOGFONTA Record(const CLogFont& f) {
    LOGFONTA lf{};
    EXPECT_EQ(GetObjectA(f.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    return lf;
}

std::shared_ptr<host::StdFont> Font(float size, std::int16_t charset = 0) {
    auto f = std::make_shared<host::StdFont>();
    f->SetName("Arial");
    f->SetSize(size);
    f->SetCharset(charset);
    return f;
}

// Restores the screen scale a test changed.
class ScaleScope {
public:
    explicit ScaleScope(int twips) : saved_(gdi::TwipsPerPixel()) { gdi::SetTwipsPerPixel(twips); }
    ~ScaleScope() { gdi::SetTwipsPerPixel(saved_); }

private:
    int saved_;
};

class CLogFontTest : public GdiTest {};

TEST_F(CLogFontTest, KeepsACopyAndOneHandleAtATime) {
    CLogFont f;
    EXPECT_EQ(f.Handle(), nullptr);
    f.SetRotation(30);
    EXPECT_EQ(f.Handle(), nullptr) << "no font, no handle";
    auto source = Font(12);
    source->SetBold(true);
    source->SetItalic(true);
    f.SetLogFont(source);
    ASSERT_NE(f.Handle(), nullptr);
    ASSERT_NE(f.LogFont(), nullptr);
    EXPECT_NE(f.LogFont(), source) << "the object keeps a copy";
    EXPECT_TRUE(f.LogFont()->SameAs(*source));

    // Changing the assigned object afterwards changes neither the copy nor the handle.
    HFONT before = f.Handle();
    source->SetName("Courier New");
    source->SetSize(30);
    EXPECT_EQ(f.LogFont()->Name(), "Arial");
    EXPECT_EQ(f.Handle(), before);
    EXPECT_EQ(Record(f).lfWeight, 700);
    EXPECT_EQ(Record(f).lfItalic, 1);

    // The same angle keeps the handle; a new one replaces it and frees the old one.
    f.SetRotation(30);
    EXPECT_EQ(f.Handle(), before);
    f.SetRotation(60);
    EXPECT_NE(f.Handle(), before);
    EXPECT_EQ(GetObjectType(before), 0u) << "the old handle is deleted";
    EXPECT_EQ(Record(f).lfEscapement, 600);

    // No font frees the handle.
    HFONT last = f.Handle();
    f.SetLogFont(nullptr);
    EXPECT_EQ(f.Handle(), nullptr);
    EXPECT_EQ(f.LogFont(), nullptr);
    EXPECT_EQ(GetObjectType(last), 0u);
    f.SetLogFont(Font(8));
    // The object frees its last handle when it goes: the fixture finds no object left.
}

TEST_F(CLogFontTest, RecordsFollowTheAngleAndTheScreenScale) {
    struct Case {
        int twips;
        float size, rotation;
        LONG height, escapement;
        BYTE precision;
    };
    const Case cases[] = {
        {15, 12, 0, -16, 0, OUT_DEFAULT_PRECIS},   {15, 12, 45, -16, 450, OUT_TT_ONLY_PRECIS},
        {15, 12, 90, -16, 900, OUT_TT_ONLY_PRECIS}, {15, 8.25f, 270, -11, 2700, OUT_TT_ONLY_PRECIS},
        {10, 12, 0, -24, 0, OUT_DEFAULT_PRECIS},   {10, 12, -30, -24, -300, OUT_TT_ONLY_PRECIS},
        {12, 12, 0.25f, -20, 2, OUT_DEFAULT_PRECIS}, {12, 10, 359.6f, -17, 3596, OUT_DEFAULT_PRECIS},
        {20, 9, 180, -9, 1800, OUT_TT_ONLY_PRECIS}, {15, 12, 720 + 45, -16, 450, OUT_TT_ONLY_PRECIS},
    };
    for (const Case& c : cases) {
        ScaleScope scale(c.twips);
        CLogFont f;
        f.SetRotation(c.rotation);
        f.SetLogFont(Font(c.size));
        LOGFONTA lf = Record(f);
        SCOPED_TRACE("twips " + std::to_string(c.twips) + " rotation " + std::to_string(c.rotation));
        EXPECT_EQ(lf.lfHeight, c.height);
        EXPECT_EQ(lf.lfWidth, 0);
        EXPECT_EQ(lf.lfEscapement, c.escapement);
        EXPECT_EQ(lf.lfOrientation, c.escapement);
        EXPECT_EQ(lf.lfOutPrecision, c.precision);
        EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
        EXPECT_EQ(std::string(lf.lfFaceName), "Arial");
    }
    // A character set above 254 is kept upright (0 and 360 degrees) and becomes ANSI turned.
    CLogFont oem;
    oem.SetLogFont(Font(10, 255));
    EXPECT_EQ(Record(oem).lfCharSet, 255);
    oem.SetRotation(360);
    EXPECT_EQ(Record(oem).lfCharSet, 255);
    EXPECT_EQ(Record(oem).lfOutPrecision, OUT_DEFAULT_PRECIS);
    oem.SetRotation(90);
    EXPECT_EQ(Record(oem).lfCharSet, 0);
    CLogFont symbol;
    symbol.SetRotation(90);
    symbol.SetLogFont(Font(10, 2));
    EXPECT_EQ(Record(symbol).lfCharSet, 2);
}

TEST_F(CLogFontTest, UnsafeAnglesSizesAndNamesAreMadeSafe) {
    auto font = Font(12);
    font->SetName(std::string(40, 'Q'));
    EXPECT_EQ(CLogFont::MakeRecord(*font, 0, 96).lfFaceName, std::string(31, 'Q'));
    EXPECT_EQ(CLogFont::MakeRecord(*font, 1e30f, 96).lfEscapement,
              static_cast<LONG>(std::round(std::fmod(static_cast<double>(1e30f), 360.0) * 10)));
    EXPECT_EQ(CLogFont::MakeRecord(*font, -1e30f, 96).lfEscapement % 3600,
              CLogFont::MakeRecord(*font, -1e30f, 96).lfEscapement);
    EXPECT_EQ(CLogFont::MakeRecord(*font, std::numeric_limits<float>::infinity(), 96).lfEscapement, 0);
    EXPECT_EQ(CLogFont::MakeRecord(*font, std::numeric_limits<float>::quiet_NaN(), 96).lfEscapement, 0);
    auto huge = Font(2160);
    EXPECT_EQ(CLogFont::MakeRecord(*huge, 0, 1440).lfHeight, -16384);

    CLogFont f;
    f.SetLogFont(font);
    HFONT upright = f.Handle();
    f.SetRotation(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(f.Rotation(), 0.0f);
    EXPECT_EQ(f.Handle(), upright) << "NaN is 0, the angle it already has";
    f.SetRotation(3.4e38f);
    EXPECT_NE(f.Handle(), nullptr);
}

// Text turned a quarter to the left runs upwards: its ink is tall and narrow.
TEST_F(CLogFontTest, RotatedTextDrawsThroughABuffer) {
    Canvas target(120, 120);
    drawing::HiddenBuffer buffer;
    buffer.Attach(target.dc(), 120, 120);
    buffer.Clear(RGB(255, 255, 255));
    CLogFont f;
    f.SetLogFont(Font(14));
    f.SetRotation(90);
    HGDIOBJ old = SelectObject(buffer.hDC(), f.Handle());
    SetBkMode(buffer.hDC(), TRANSPARENT);
    TextOutA(buffer.hDC(), 40, 110, "Rotated", 7);
    SelectObject(buffer.hDC(), old);
    int left = 120, right = -1, top = 120, bottom = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            if (GetPixel(buffer.hDC(), x, y) != RGB(255, 255, 255))
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                bottom = std::max(bottom, y);
    ASSERT_GE(right, left);
    EXPECT_GT(bottom - top, 2 * (right - left));
    EXPECT_LE(bottom, 110);
    // The cell's top-left corner is the reference point: the cell turns about it, so the glyphs
    // lie above it and to its right.
    EXPECT_GE(left, 40);
    EXPECT_LT(top, 60);
}

// Text drawn at every whole angle fills the rotated pool only up to its budget, and the
// upright glyphs every control draws with stay cached.
TEST_F(CLogFontTest, GlyphsAtManyAnglesStayWithinTheirBudget) {
    auto& cache = gdi::text::GlyphCache::Instance();
    cache.Clear();
    Canvas c(200, 200);
    auto font = Font(10);
    HGDIOBJ old = SelectObject(c.dc(), font->Handle());
    TextOutA(c.dc(), 0, 0, "Upright caption", 15);
    std::size_t upright = cache.Count(gdi::text::GlyphPool::Upright);
    EXPECT_GT(upright, 0u);
    CLogFont f;
    f.SetLogFont(Font(24));
    for (int angle = 1; angle < 360; ++angle) {
        f.SetRotation(static_cast<float>(angle));
        SelectObject(c.dc(), f.Handle());
        TextOutA(c.dc(), 100, 100, "Spinning label WMQ", 18);
        ASSERT_LE(cache.Bytes(gdi::text::GlyphPool::Rotated), gdi::text::GlyphCache::kDefaultRotatedLimit);
    }
    SelectObject(c.dc(), font->Handle());
    EXPECT_EQ(cache.Count(gdi::text::GlyphPool::Upright), upright);
    std::uint64_t misses = cache.Misses();
    TextOutA(c.dc(), 0, 0, "Upright caption", 15);
    EXPECT_EQ(cache.Misses(), misses) << "the upright glyphs were not pushed out";
    RecordProperty("RotatedGlyphBytes", static_cast<int>(cache.Bytes(gdi::text::GlyphPool::Rotated)));
    SelectObject(c.dc(), old);
}

TEST_F(CLogFontTest, CreatedByNameAndDrivenLateBound) {
    auto object = host::CreateObject("Brimlox.CLogFont");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->TypeName(), "CLogFont");
    EXPECT_EQ(host::GetProperty(*object, "Handle").ToLong(), 0);
    std::vector<host::Variant> args{host::Variant(std::static_pointer_cast<host::Dispatch>(Font(12)))};
    host::Invoke(*object, "LogFont", host::InvokeKind::PropertySet, args);
    host::LetProperty(*object, "Rotation", host::Variant(45.0f));
    EXPECT_FLOAT_EQ(host::GetProperty(*object, "Rotation").ToSingle(), 45.0f);
    auto handle = reinterpret_cast<HFONT>(
        static_cast<std::uintptr_t>(static_cast<std::uint32_t>(host::GetProperty(*object, "Handle").ToLong())));
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(handle, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfEscapement, 450);
    auto copy = host::GetProperty(*object, "LogFont").As<host::StdFont>();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Name(), "Arial");
    EXPECT_THROW(host::LetProperty(*object, "Handle", host::Variant(1)), host::HostError);
}

}  // namespace
}  // namespace brimlox::test
