// DreamBar: text output on the bar (PrintText, upright or at an angle, one line per line
// break or word-wrapped to a width) and PaintPanel, which tiles another control with the
// bar's picture.
#include <algorithm>
#include <array>
#include <cmath>

#include "controls/dreambar/dreambar.h"
#include "controls/splitwindow/splitwindow.h"
#include "drawing/clog_font.h"
#include "foundation/helpers/colour.h"
#include "platform/user/user.h"

namespace brimlox::controls {

using host::Variant;

namespace {

constexpr std::size_t kMaxLines = 31;

std::vector<std::string> SplitAtLineBreaks(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

// Greedy word wrapping of `text` to `maxWidth`: each line is the longest run of words ending
// before a space that fits; a word wider than the limit on its own makes a line by itself (it
// is not broken), so wrapping always moves on. At most kMaxLines lines are made and the text
// beyond them is dropped. `widthOf(from, to)` measures the characters [from, to).
template <typename WidthOf>
std::vector<std::string> WrapGreedily(const std::string& text, float maxWidth, WidthOf widthOf) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (lines.size() < kMaxLines) {
        if (widthOf(from, text.size()) <= maxWidth) {
            lines.push_back(text.substr(from));
            break;
        }
        // Widths grow with the prefix, so the spaces are tried from the front and the first
        // one that no longer fits ends the search.
        std::size_t cut = std::string::npos;
        for (std::size_t at = text.find(' ', from + 1); at != std::string::npos; at = text.find(' ', at + 1)) {
            if (widthOf(from, at) > maxWidth) break;
            cut = at;
        }
        if (cut == std::string::npos) cut = text.find(' ', from + 1);
        if (cut == std::string::npos) {
            lines.push_back(text.substr(from));
            break;
        }
        lines.push_back(text.substr(from, cut - from));
        from = cut + 1;
    }
    return lines;
}

// The pixel width of every prefix of a text. Text widths add up character by character, so
// each distinct character is measured once and the prefixes are running sums: a line from
// `from` to `to` is as wide as the difference of two entries.
class PrefixWidths {
public:
    PrefixWidths(HDC dc, const std::string& text) : before_(text.size() + 1, 0) {
        std::array<long long, 256> advance;
        advance.fill(-1);
        long long pen = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto ch = static_cast<unsigned char>(text[i]);
            if (advance[ch] < 0) {
                SIZE size{};
                if (!GetTextExtentPoint32A(dc, &text[i], 1, &size)) return;
                advance[ch] = size.cx;
            }
            pen += advance[ch];
            before_[i + 1] = pen;
        }
        ok_ = true;
    }
    bool Measured() const { return ok_; }
    long long Width(std::size_t from, std::size_t to) const { return before_[to] - before_[from]; }

private:
    std::vector<long long> before_;
    bool ok_ = false;
};

}  // namespace

// Each character is measured once; a text with line breaks is measured line by line as the host
// measures it (its widest line), piece by piece.
std::vector<std::string> DreamBar::WrapLines(const std::string& text, float maxWidth) {
    if (text.find('\n') == std::string::npos) {
        const PrefixWidths widths(hDC(), text);
        const double perPixel = TwipsPerPixelX();
        if (widths.Measured()) {
            return WrapGreedily(text, maxWidth, [&](std::size_t from, std::size_t to) {
                return static_cast<float>(static_cast<double>(widths.Width(from, to)) * perPixel);
            });
        }
    }
    return WrapGreedily(text, maxWidth, [&](std::size_t from, std::size_t to) {
        return host::Control::TextWidth(text.substr(from, to - from));
    });
}

void DreamBar::PrintText(const std::string& text, std::int16_t alignment, float x, float y, float maxWidth,
                         float angle) {
    HDC dc = hDC();
    drawing::CLogFont rotated;
    HGDIOBJ oldFont = nullptr;
    if (angle != 0 && std::isfinite(angle) && Font()) {
        rotated.SetLogFont(Font());
        rotated.SetRotation(angle);
        oldFont = SelectObject(dc, rotated.Handle());
    }
    const COLORREF oldColour = SetTextColor(dc, foundation::TranslateColor(ForeColor()));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const float curX = x != 0 ? x : Width() / 2.0f;
    float curY = y != 0 ? y : (Height() - host::Control::TextHeight(" ")) / 2.0f;
    const UINT oldAlign = GetTextAlign(dc);
    SetTextAlign(dc, static_cast<UINT>(alignment));
    const auto lines = maxWidth > 0 ? WrapLines(text, maxWidth) : SplitAtLineBreaks(text);
    const long perPixelX = std::max(1L, std::lround(TwipsPerPixelX()));
    const long perPixelY = std::max(1L, std::lround(TwipsPerPixelY()));
    for (const auto& line : lines) {
        TextOutA(dc, static_cast<int>(std::lround(curX) / perPixelX), static_cast<int>(std::lround(curY) / perPixelY),
                 line.c_str(), static_cast<int>(line.size()));
        curY += host::Control::TextHeight(line);
    }
    SetTextAlign(dc, oldAlign);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    if (oldFont) SelectObject(dc, oldFont);
}

// Tiles `target` (a control or form with Left, Width, Height and hDC) with the bar's picture.
void DreamBar::PaintPanel(host::Dispatch& target) {
    if (!picture_ || !picture_->Bitmap()) return;
    host::TryInvoke([&] {
        (void)host::GetProperty(target, "Left");
        const auto targetDc = HandleFromValue<HDC>(static_cast<std::uint32_t>(host::GetProperty(target, "hDC").ToLong()));
        const int width = static_cast<int>(std::lround(host::GetProperty(target, "Width").ToDouble() / TwipsPerPixelX()));
        const int height = static_cast<int>(std::lround(host::GetProperty(target, "Height").ToDouble() / TwipsPerPixelY()));
        const auto [stepX, stepY] = SplitWindow::TileSteps(picture_->PixelWidth(), picture_->PixelHeight());
        HDC memory = CreateCompatibleDC(targetDc);
        HGDIOBJ old = SelectObject(memory, picture_->Bitmap());
        for (int px = 0; px <= width; px += stepX)
            for (int py = 0; py <= height; py += stepY)
                BitBlt(targetDc, px, py, picture_->PixelWidth(), picture_->PixelHeight(), memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    });
}

}  // namespace brimlox::controls
