// The standard pointers of LoadCursorA(nullptr, IDC_*), drawn here as 32 x 32 images: black
// shapes with a white outline, like the classic Windows set. They are shared objects, created
// on first use and never freed; their bitmaps are marked stock so leak counts ignore them.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/handles.h"
#include "platform/user/cursor.h"
#include "platform/user/user.h"

namespace brimlox::user {

namespace {

constexpr int kSize = 32;

// A 32 x 32 drawing grid: ' ' transparent, 'o' white, '#' black.
class Grid {
public:
    Grid() { cells_.fill(' '); }
    void Set(int x, int y, char c) {
        if (x >= 0 && y >= 0 && x < kSize && y < kSize) cells_[static_cast<std::size_t>(y * kSize + x)] = c;
    }
    char At(int x, int y) const { return cells_[static_cast<std::size_t>(y * kSize + x)]; }
    // A black line with a white outline one pixel around it.
    void Stroke(int x0, int y0, int x1, int y1, int thickness = 1) {
        Line(x0, y0, x1, y1, 'o', thickness + 2, false);
        Line(x0, y0, x1, y1, '#', thickness, true);
    }
    void Line(int x0, int y0, int x1, int y1, char c, int thickness, bool overwrite) {
        int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i) {
            int x = steps ? x0 + (x1 - x0) * i / steps : x0;
            int y = steps ? y0 + (y1 - y0) * i / steps : y0;
            for (int dy = -(thickness / 2); dy <= (thickness - 1) / 2; ++dy)
                for (int dx = -(thickness / 2); dx <= (thickness - 1) / 2; ++dx)
                    if (overwrite || At(std::clamp(x + dx, 0, kSize - 1), std::clamp(y + dy, 0, kSize - 1)) == ' ')
                        Set(x + dx, y + dy, c);
        }
    }
    void Art(int left, int top, std::initializer_list<const char*> rows) {
        int y = top;
        for (const char* row : rows) {
            for (int x = 0; row[x]; ++x)
                if (row[x] != ' ') Set(left + x, y, row[x] == '.' ? 'o' : row[x]);
            ++y;
        }
    }
    // An arrowhead pointing from (x, y) back along (dx, dy).
    void Head(int x, int y, int dx, int dy, int size) {
        for (int i = 0; i <= size; ++i) {
            int bx = x + dx * i;
            int by = y + dy * i;
            Stroke(bx - dy * i, by + dx * i, bx + dy * i, by - dx * i);
        }
    }

private:
    std::array<char, kSize * kSize> cells_;
};

void DrawArrow(Grid& g, int left = 0, int top = 0) {
    g.Art(left, top, {"#", "##", "#.#", "#..#", "#...#", "#....#", "#.....#", "#......#", "#.......#",
                      "#........#", "#.....#####", "#..#..#", "#.# #..#", "##  #..#", "#    #..#", "     #..#",
                      "      #..#", "      ##"});
}

void DrawHourglass(Grid& g, int cx, int top, int half) {
    g.Stroke(cx - half, top, cx + half, top);
    g.Stroke(cx - half, top + 2 * half, cx + half, top + 2 * half);
    g.Stroke(cx - half, top, cx + half, top + 2 * half);
    g.Stroke(cx + half, top, cx - half, top + 2 * half);
}

Grid DrawStandard(std::uintptr_t id, POINT& hot) {
    Grid g;
    hot = POINT{15, 15};
    switch (id) {
        case 32512: DrawArrow(g); hot = POINT{0, 0}; break;                      // IDC_ARROW
        case 32513:                                                              // IDC_IBEAM
            g.Stroke(15, 6, 15, 24);
            g.Stroke(12, 5, 14, 5);
            g.Stroke(16, 5, 18, 5);
            g.Stroke(12, 25, 14, 25);
            g.Stroke(16, 25, 18, 25);
            break;
        case 32514: DrawHourglass(g, 15, 5, 10); break;                          // IDC_WAIT
        case 32515: g.Stroke(15, 3, 15, 27); g.Stroke(3, 15, 27, 15); break;     // IDC_CROSS
        case 32516: g.Stroke(15, 4, 15, 27, 2); g.Head(15, 3, 0, 1, 6); hot = POINT{15, 3}; break;
        case 32642: g.Stroke(6, 6, 24, 24, 2); g.Head(5, 5, 1, 1, 5); g.Head(25, 25, -1, -1, 5); break;
        case 32643: g.Stroke(24, 6, 6, 24, 2); g.Head(25, 5, -1, 1, 5); g.Head(5, 25, 1, -1, 5); break;
        case 32644: g.Stroke(5, 15, 25, 15, 2); g.Head(3, 15, 1, 0, 6); g.Head(27, 15, -1, 0, 6); break;
        case 32645: g.Stroke(15, 5, 15, 25, 2); g.Head(15, 3, 0, 1, 6); g.Head(15, 27, 0, -1, 6); break;
        case 32646:                                                              // IDC_SIZEALL
            g.Stroke(5, 15, 25, 15, 2);
            g.Stroke(15, 5, 15, 25, 2);
            g.Head(3, 15, 1, 0, 4);
            g.Head(27, 15, -1, 0, 4);
            g.Head(15, 3, 0, 1, 4);
            g.Head(15, 27, 0, -1, 4);
            break;
        case 32648:                                                              // IDC_NO
            for (int a = 0; a < 360; a += 3) {
                double r = a * 3.14159265 / 180.0;
                int x = 15 + static_cast<int>(std::lround(10 * std::cos(r)));
                int y = 15 + static_cast<int>(std::lround(10 * std::sin(r)));
                g.Line(x, y, x, y, 'o', 4, false);
            }
            for (int a = 0; a < 360; a += 2) {
                double r = a * 3.14159265 / 180.0;
                g.Line(15 + static_cast<int>(std::lround(10 * std::cos(r))), 15 + static_cast<int>(std::lround(10 * std::sin(r))),
                       15 + static_cast<int>(std::lround(10 * std::cos(r))), 15 + static_cast<int>(std::lround(10 * std::sin(r))),
                       '#', 2, true);
            }
            g.Stroke(8, 8, 22, 22, 2);
            break;
        case 32649:                                                              // IDC_HAND
            g.Art(8, 2, {" ##", "#..#", "#..#", "#..#", "#..###", "#..#..###", "#..#..#..##", "#..#..#..#.#",
                         "##.........#", "#.#........#", "#..........#", " #.........#", " #........#", "  #.......#",
                         "  #......#", "   #.....#", "   #######"});
            hot = POINT{10, 2};
            break;
        case 32650: DrawArrow(g); DrawHourglass(g, 22, 16, 5); hot = POINT{0, 0}; break;  // IDC_APPSTARTING
        case 32651:                                                              // IDC_HELP
            DrawArrow(g);
            g.Art(18, 12, {" #### ", "#....#", "#.##.#", "  #..#", "  #.# ", "  #.# ", "  ### ", "  #.# ", "  ### "});
            hot = POINT{0, 0};
            break;
        default: DrawArrow(g); hot = POINT{0, 0}; break;
    }
    return g;
}

HBITMAP StockBitmap(std::unique_ptr<gdi::Surface> s) {
    auto b = std::make_unique<gdi::BitmapObject>(std::move(s));
    b->MarkStock();
    return static_cast<HBITMAP>(gdi::HandleTable::Instance().Add(std::move(b)));
}

HCURSOR CreateStandard(std::uintptr_t id) {
    POINT hot;
    Grid g = DrawStandard(id, hot);
    auto mask = gdi::Surface::Create(kSize, kSize, gdi::PixelFormat::Mono1);
    auto color = gdi::Surface::Create(kSize, kSize, gdi::PixelFormat::Bgrx32);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            char c = g.At(x, y);
            mask->Put(x, y, c == ' ' ? 0xFFFFFF : 0);
            color->Put(x, y, c == 'o' ? 0xFFFFFF : 0);
        }
    auto icon = std::make_unique<IconObject>();
    icon->isIcon = false;
    icon->shared = true;
    icon->hotspot = hot;
    icon->mask = StockBitmap(std::move(mask));
    icon->color = StockBitmap(std::move(color));
    return HandleFromValue<HCURSOR>(UserHandleTable::Instance().Add(std::move(icon)));
}

std::map<std::uintptr_t, HCURSOR>& Shared() {
    static std::map<std::uintptr_t, HCURSOR> shared;
    return shared;
}

}  // namespace

std::size_t SharedCursorCount() {
    std::size_t n = 0;
    for (auto& [id, h] : Shared())
        if (UserHandleTable::Instance().Get<IconObject>(h)) ++n;
    return n;
}

}  // namespace brimlox::user

using namespace brimlox::user;

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    // Only the system cursors exist; programs make their own with CreateIconIndirect.
    if (instance || !IS_INTRESOURCE(name)) return nullptr;
    auto id = reinterpret_cast<std::uintptr_t>(name);
    static const std::uintptr_t kKnown[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                            32644, 32645, 32646, 32648, 32649, 32650, 32651};
    if (std::find(std::begin(kKnown), std::end(kKnown), id) == std::end(kKnown)) return nullptr;
    HCURSOR& slot = Shared()[id];
    if (!UserHandleTable::Instance().Get<IconObject>(slot)) slot = CreateStandard(id);
    return slot;
}
