#include "support/paths.h"
#include "support/gdi_test.h"

#include <cstdlib>
#include <filesystem>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/png.h"

namespace brimlox::test {

void GdiTest::SetUp() { baseline_ = gdi::HandleTable::Instance().LiveCount(); }

void GdiTest::TearDown() {
    EXPECT_EQ(gdi::HandleTable::Instance().LiveCount(), baseline_) << "the test leaked GDI objects";
}

Canvas::Canvas(int width, int height, COLORREF fill) {
    HDC screen = CreateCompatibleDC(nullptr);
    dc_ = screen;
    // A 32-bpp bitmap regardless of the new DC's 1x1 mono default.
    bitmap_ = CreateBitmap(width, height, 1, 32, nullptr);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH b = CreateSolidBrush(fill);
    RECT r{0, 0, width, height};
    FillRect(dc_, &r, b);
    DeleteObject(b);
}

Canvas::~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

const gdi::Surface& Canvas::surface() const {
    return *gdi::HandleTable::Instance().Get<gdi::BitmapObject>(bitmap_)->surface;
}

std::string OutputDir() {
    std::string dir = brimlox::test::TestOutputDir();
    std::filesystem::create_directories(dir);
    return dir;
}

::testing::AssertionResult MatchesGolden(const gdi::Surface& actual, const std::string& name, int budget) {
    namespace fs = std::filesystem;
    fs::path golden = fs::path(brimlox::test::SourceDir()) / "tests" / "golden" / (name + ".png");
    const char* update = std::getenv("BRIMLOX_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        fs::create_directories(golden.parent_path());
        std::string error;
        if (!gdi::WriteSurfacePng(actual, golden.string(), &error)) return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess();
    }
    fs::path out = fs::path(OutputDir()) / name;
    fs::create_directories(out.parent_path());
    std::string actualPath = out.string() + ".actual.png";
    std::string error;
    auto expected = gdi::ReadSurfacePng(golden.string(), &error);
    if (!expected) {
        gdi::WriteSurfacePng(actual, actualPath);
        return ::testing::AssertionFailure() << "no golden image " << golden << " (" << error
                                             << "); actual written to " << actualPath;
    }
    if (expected->Width() != actual.Width() || expected->Height() != actual.Height()) {
        gdi::WriteSurfacePng(actual, actualPath);
        return ::testing::AssertionFailure() << "size " << actual.Width() << "x" << actual.Height()
                                             << " differs from golden " << expected->Width() << "x"
                                             << expected->Height() << "; actual written to " << actualPath;
    }
    auto diff = gdi::Surface::Create(actual.Width(), actual.Height(), gdi::PixelFormat::Bgrx32);
    int differing = 0;
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            bool same = actual.Get(x, y) == expected->Get(x, y);
            if (!same) ++differing;
            diff->Put(x, y, same ? (actual.Get(x, y) >> 2) & 0x3F3F3F : 0xFF0000);
        }
    }
    if (differing > budget) {
        gdi::WriteSurfacePng(actual, actualPath);
        gdi::WriteSurfacePng(*diff, out.string() + ".diff.png");
        return ::testing::AssertionFailure() << differing << " pixels differ from " << golden << " (budget "
                                             << budget << "); see " << actualPath << " and the .diff.png";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace brimlox::test
