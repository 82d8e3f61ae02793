// Command: the caption with its 3D passes, and the arrow glyphs drawn from straight lines.
#include <algorithm>
#include <vector>

#include "controls/command/command.h"
#include "foundation/helpers/colour.h"
#include "foundation/helpers/pixels.h"
#include "foundation/painters/bevel.h"

namespace brimlox::controls {

using foundation::RoundHalfEven;
using foundation::SnapToPixelsX;
using foundation::SnapToPixelsY;
using foundation::workRect;

namespace {

constexpr std::uint32_t k3DShadow = 0x80000010;

int Half(int v) { return RoundHalfEven(v / 2.0); }

enum class Direction { Right, Down, Up, Left };

}  // namespace

void Command::DrawCaption(bool up, std::uint32_t textColor) {
    HDC dc = hDC();
    const Layout& l = layout_;
    const UINT format = menuButton_ ? (DT_VCENTER | DT_SINGLELINE) : (DT_CENTER | DT_WORDBREAK);
    const int pw = pictureCache_.width ? pictureCache_.dest.right - pictureCache_.dest.left : 0;
    const int ph = pictureCache_.width ? pictureCache_.dest.bottom - pictureCache_.dest.top : 0;
    InflateRect(&workRect, -4, 0);
    // Keep the caption clear of the picture.
    switch (menuButton_ ? std::int16_t{CenterMiddle} : pictureAlignment_) {
        case CenterTop: workRect.top += Half(ph) + 1; break;
        case CenterBottom: OffsetRect(&workRect, 0, -Half(ph)); break;
        case LeftMiddle:
            workRect.left += Half(pw) - 7;
            InflateRect(&workRect, -11, 0);
            break;
        case RightMiddle:
            workRect.right -= pw;
            OffsetRect(&workRect, -Half(pw), 0);
            break;
        default: OffsetRect(&workRect, 1, 1); break;
    }
    workRect.bottom = workRect.top + 1;
    // Measured without DT_VCENTER: a one-pixel rectangle centred on would come back shorter
    // than the text, and drawing in it would clip the letters' tops and bottoms.
    DrawTextA(dc, caption_.c_str(), -1, &workRect, (format & ~DT_VCENTER) | DT_CALCRECT);
    // A menu button's caption is centred on the face left of its drop-down strip.
    const int faceWidthPx = l.faceWidthPx - (menuButton_ ? l.menuWidthPx : 0);
    const int centreX = Half(faceWidthPx - workRect.right + workRect.left);
    switch (menuButton_ ? std::int16_t{CenterMiddle} : pictureAlignment_) {
        case CenterTop: OffsetRect(&workRect, centreX - 4, l.faceHeightPx - workRect.bottom - 2); break;
        case CenterBottom: OffsetRect(&workRect, centreX - 4, l.faceTopPx - workRect.top + 2); break;
        default: OffsetRect(&workRect, centreX - 5, Half(l.faceHeightPx - workRect.bottom + workRect.top)); break;
    }
    workRect.bottom = std::min<LONG>(workRect.bottom, l.faceHeightPx + l.faceTopPx);
    if (!up && (!hasPictureDown_ || button3D_)) OffsetRect(&workRect, 2, 1);

    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    auto pass = [&](std::uint32_t colour, int dx, int dy) {
        RECT r = workRect;
        OffsetRect(&r, dx, dy);
        SetTextColor(dc, foundation::TranslateColor(colour));
        DrawTextA(dc, caption_.c_str(), -1, &r, format);
    };
    if (Enabled() && font3D_ == Flat) {
        pass(textColor, 0, 0);
    } else {
        int d = font3D_;
        // White text cannot carry a lighter highlight: the highlight takes the shadow's side.
        if (Enabled() && foundation::TranslateColor(textColor) == 0xFFFFFF) {
            d = -font3D_;
        } else {
            pass(k3DShadow, -d, -d);
        }
        pass(fontColor3D_, d, d);
        pass(Enabled() ? textColor : k3DShadow, 0, 0);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void Command::DrawArrowGlyph(std::uint32_t textColor) {
    if (font3D_ != Flat) DrawArrow(static_cast<float>(static_cast<int>(2 * PxX() * font3D_)), fontColor3D_);
    DrawArrow(0, Enabled() ? textColor : k3DShadow);
}

namespace {

// Draws glyph lines in twips through the control's Line. `along` is the direction the base
// line runs (x for up and down arrows, y for left and right), `point` the direction the glyph
// points; every step is one pixel.
class GlyphPen {
public:
    GlyphPen(host::Control& c, std::uint32_t colour, Direction dir, float px, float py)
        : c_(c), colour_(colour), dir_(dir), px_(px), py_(py) {}

    bool Horizontal() const { return dir_ == Direction::Down || dir_ == Direction::Up; }
    float AlongPx() const { return Horizontal() ? px_ : py_; }
    float PointPx() const { return Horizontal() ? py_ : px_; }
    float PointSign() const { return dir_ == Direction::Down || dir_ == Direction::Right ? 1.0f : -1.0f; }

    // One line of length s from the start point; the lines are drawn together by Flush.
    void Line(float s) {
        if (Horizontal()) lines_.push_back(host::LineSegment{x, y, x + s, y});
        else lines_.push_back(host::LineSegment{x, y, x, y + s});
    }
    void Flush() {
        c_.Lines(lines_, colour_);
        lines_.clear();
    }
    // Moves by n pixels in the pointing direction.
    void Advance(float n) {
        if (Horizontal()) y += n * py_ * PointSign();
        else x += n * px_ * PointSign();
    }
    // A triangle: lines getting 2 pixels shorter, each 1 pixel further along and in; ends
    // one pixel beyond the position of the step that ran out, with the base's start restored.
    void Triangle(float s) {
        const float startX = x, startY = y;
        Line(s);
        for (;;) {
            s -= 2 * AlongPx();
            Advance(1);
            if (Horizontal()) x += px_;
            else y += py_;
            if (s < 2 * AlongPx()) break;
            Line(s);
        }
        Advance(1);
        if (Horizontal()) x = startX;
        else y = startY;
    }
    // Two bar lines one and two pixels beyond the current position.
    void Bars(float s) {
        Advance(1);
        Line(s);
        Advance(1);
        Line(s);
    }

    float x = 0, y = 0;

private:
    host::Control& c_;
    std::vector<host::LineSegment> lines_;
    std::uint32_t colour_;
    Direction dir_;
    float px_, py_;
};

}  // namespace

void Command::DrawArrow(float o, std::uint32_t color) {
    const Layout& l = layout_;
    const float px = PxX(), py = PxY();
    const bool menuMode = menuButton_;
    Direction dir = Direction::Down;
    float s = 90;
    if (!menuMode) {
        dir = static_cast<Direction>(arrowType_ % 4);
        s = static_cast<float>(SnapToPixelsY(RoundHalfEven(std::min(l.faceWidth, l.faceHeight))));
        if (font3D_ != Flat) s -= 2 * py;
        s -= s < 271 ? 6 * px : 10 * px;
        s = std::clamp(s, 90.0f, 300.0f);
    }
    GlyphPen pen(*this, color, dir, px, py);
    const float half = s / 2;
    switch (dir) {
        case Direction::Down:
        case Direction::Up:
            pen.x = static_cast<float>(SnapToPixelsX(RoundHalfEven((l.faceWidth - s) / 2 + o + l.faceLeft)));
            pen.y = static_cast<float>(SnapToPixelsY(RoundHalfEven(
                (l.faceHeight + (dir == Direction::Down ? -half : half)) / 2 + o / 2 + l.faceTop)));
            break;
        case Direction::Right:
        case Direction::Left:
            pen.x = static_cast<float>(SnapToPixelsX(RoundHalfEven(
                (l.faceWidth + (dir == Direction::Right ? -half : half)) / 2 + o + l.faceLeft)));
            pen.y = static_cast<float>(SnapToPixelsY(RoundHalfEven((l.faceHeight - s) / 2 + o / 2 + l.faceTop)));
            break;
    }
    if (menuMode) {
        // The strip's arrow sits in the middle of the strip whatever the offset.
        const int strip = static_cast<int>(l.menuWidth);
        pen.x = static_cast<float>((Width() - strip) + (strip - static_cast<int>(s)) / 2);
        pen.Triangle(s);
        pen.Flush();
        return;
    }
    switch (arrowType_) {
        case BarDown:
            pen.Advance(-1);
            pen.Triangle(s);
            pen.Bars(s);
            break;
        case BarUp:
        case BarRight:
        case BarLeft:
            pen.Advance(-2);
            pen.Triangle(s);
            pen.Bars(s);
            break;
        case DownBar:
        case UpBar:
        case RightBar:
        case LeftBar: {
            // Bar lines behind the base, then the triangle; positions in pixels along the
            // pointing direction from the computed base.
            struct Placement {
                int bar1, bar2, triangle;
            };
            const Placement p = arrowType_ == DownBar ? Placement{-2, -1, 2}
                                : arrowType_ == UpBar  ? Placement{-1, -2, 2}
                                : arrowType_ == RightBar ? Placement{-1, 0, 3}
                                                         : Placement{-2, -3, 1};
            const float baseX = pen.x, baseY = pen.y;
            auto at = [&](int k) {
                pen.x = baseX, pen.y = baseY;
                pen.Advance(static_cast<float>(k));
            };
            at(p.bar1);
            pen.Line(s);
            at(p.bar2);
            pen.Line(s);
            at(p.triangle);
            pen.Triangle(s);
            break;
        }
        case DoubleDown:
        case DoubleUp:
        case DoubleRight:
        case DoubleLeft: {
            const bool vertical = dir == Direction::Down || dir == Direction::Up;
            const float back = vertical ? static_cast<float>(SnapToPixelsY(RoundHalfEven(s / 4)))
                                        : static_cast<float>(SnapToPixelsX(RoundHalfEven(s / 4)));
            (vertical ? pen.y : pen.x) -= back * pen.PointSign();
            pen.Triangle(s);
            pen.Triangle(s);
            break;
        }
        default: pen.Triangle(s); break;
    }
    pen.Flush();
}

}  // namespace brimlox::controls
