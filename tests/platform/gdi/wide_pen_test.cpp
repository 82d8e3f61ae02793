// Wide geometric pens against the pixels Windows draws: every case of wide_pen_cases.h
// (widths 2 to 8, each cap and join, lines at every slope, polylines and stroked paths) is
// drawn into one grid and compared with tests/golden/gdi/wide_pens_wine.png, recorded from
// Windows' GDI by tools/wine/run_wide_pen_probe.sh. The golden image is never rewritten from
// this side.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/png.h"
#include "platform/gdi/raster/wide_stroke.h"
#include "support/gdi_test.h"
#include "support/paths.h"
#include "tests/platform/gdi/wide_pen_cases.h"

using brimlox::test::Canvas;
using brimlox::test::GdiTest;
using namespace wide_pen_cases;

namespace {

class GdiWidePen : public GdiTest {};

HPEN MakePen(int kind, int width) {
    if (kind == kCreatePen) return CreatePen(PS_SOLID, width, RGB(0, 0, 0));
    LOGBRUSH lb{BS_SOLID, RGB(0, 0, 0), 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PenFlags(kind), width, &lb, 0, nullptr);
}

void DrawShape(HDC dc, const Shape& s, int ox, int oy) {
    POINT pts[5];
    for (int i = 0; i < s.count; ++i) pts[i] = POINT{s.x[i] + ox, s.y[i] + oy};
    if (!s.path) {
        Polyline(dc, pts, s.count);
        return;
    }
    BeginPath(dc);
    Polyline(dc, pts, s.count);
    if (s.closed) CloseFigure(dc);
    EndPath(dc);
    StrokePath(dc);
}

void DrawGrid(HDC dc) {
    for (int w = kMinWidth; w <= kMaxWidth; ++w)
        for (int kind = 0; kind < kPenKinds; ++kind) {
            HPEN pen = MakePen(kind, w);
            HGDIOBJ old = SelectObject(dc, pen);
            const int row = (w - kMinWidth) * kPenKinds + kind;
            for (int s = 0; s < kShapeCount; ++s) DrawShape(dc, kShapes[s], s * kCell, row * kCell);
            SelectObject(dc, old);
            DeleteObject(pen);
        }
}

}  // namespace

TEST_F(GdiWidePen, EveryCapJoinAndSlopeDrawsThePixelsWindowsDraws) {
    namespace fs = std::filesystem;
    const fs::path golden = fs::path(brimlox::test::SourceDir()) / "tests" / "golden" / "gdi" / "wide_pens_wine.png";
    std::string error;
    auto expected = brimlox::gdi::ReadSurfacePng(golden.string(), &error);
    ASSERT_TRUE(expected) << error;
    ASSERT_EQ(expected->Width(), kImageWidth);
    ASSERT_EQ(expected->Height(), kImageHeight);
    Canvas c(kImageWidth, kImageHeight);
    DrawGrid(c.dc());
    // Every cap, every round join and every segment body matches pixel for pixel. Bevel and
    // miter joins of sharp turns are off by at most two pixels each (the tips of the join
    // triangles round differently in a few cases), 20 pixels in all.
    std::ostringstream report;
    int differing = 0, joinPixels = 0;
    for (int row = 0; row < kRows; ++row)
        for (int s = 0; s < kShapeCount; ++s) {
            int here = 0;
            for (int y = row * kCell; y < (row + 1) * kCell; ++y)
                for (int x = s * kCell; x < (s + 1) * kCell; ++x)
                    if ((c.surface().Get(x, y) & 0xFFFFFF) != (expected->Get(x, y) & 0xFFFFFF)) ++here;
            if (here == 0) continue;
            const int kind = row % kPenKinds;
            const bool angularJoin = kShapes[s].count > 2 && (kind == kFlatBevel || kind == kFlatMiter || kind == kSquareMiter);
            if (angularJoin && here <= 2) {
                joinPixels += here;
                continue;
            }
            differing += here;
            report << "  width " << kMinWidth + row / kPenKinds << " pen " << kind << " shape " << s << ": " << here
                   << " pixels\n";
        }
    EXPECT_LE(joinPixels, 20);
    if (differing || joinPixels > 20) {
        const fs::path out = fs::path(brimlox::test::OutputDir()) / "gdi" / "wide_pens.actual.png";
        fs::create_directories(out.parent_path());
        brimlox::gdi::WriteSurfacePng(c.surface(), out.string());
        ADD_FAILURE() << differing << " pixels differ from " << golden << " outside the joins; ours in " << out << "\n"
                      << report.str();
    }
}

// Round caps and joins are the circular regions Windows makes for a box one pixel larger
// than the pen; recorded for every size up to 48, so widths beyond the grid's are covered.
TEST(WidePenDisc, SpansMatchWindowsCircularRegionsUpToWidth48) {
    namespace fs = std::filesystem;
    std::ifstream in(fs::path(brimlox::test::SourceDir()) / "tests" / "golden" / "gdi" / "disc_regions_wine.txt");
    ASSERT_TRUE(in) << "missing disc_regions_wine.txt";
    std::map<int, std::vector<std::pair<int, int>>> recorded;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int size, row, x0, x1;
        ASSERT_TRUE(fields >> size >> row >> x0 >> x1) << line;
        auto& rows = recorded[size];
        ASSERT_EQ(static_cast<int>(rows.size()), row) << "rows out of order in " << line;
        rows.emplace_back(x0, x1);
    }
    ASSERT_EQ(recorded.size(), 48u);
    for (const auto& [size, rows] : recorded) EXPECT_EQ(brimlox::gdi::raster::DiscSpans(size), rows) << "size " << size;
}
