// Line breaking for DrawTextA. Rules checked against Windows: "&&" draws one ampersand, "&x"
// underlines x (only the last prefixed character of a text is underlined), a trailing line
// break adds no empty line, tabs advance to the next multiple of 8 x tmAveCharWidth from the
// line's start, a word wider than the rectangle is kept whole on its own line, blanks that
// fit count in a wrapped line's width, and a trailing "&" draws itself.
#include "platform/gdi/text/layout.h"

#include "platform/gdi/text.h"

namespace brimlox::gdi::text {

namespace {

constexpr int kTabColumns = 8;

// Removes the prefix characters; returns the index of the underlined character or npos.
std::size_t StripPrefixes(std::string_view text, UINT format, std::string& out) {
    std::size_t mnemonic = std::string::npos;
    if (format & DT_NOPREFIX) {
        out.assign(text);
        return mnemonic;
    }
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t amp = text.find('&', i);
        out.append(text.substr(i, amp == std::string_view::npos ? std::string_view::npos : amp - i));
        if (amp == std::string_view::npos) break;
        if (amp + 1 >= text.size()) {  // a trailing prefix character draws itself
            out += '&';
            break;
        }
        if (text[amp + 1] != '&') mnemonic = out.size();
        out += text[amp + 1];
        i = amp + 2;
    }
    return (format & DT_HIDEPREFIX) ? std::string::npos : mnemonic;
}

class LineBuilder {
public:
    LineBuilder(Typeface& face, const std::string& chars, UINT format)
        : face_(face), chars_(chars), expandTabs_(format & DT_EXPANDTABS), withPens_(!(format & DT_CALCRECT)),
          tabWidth_(std::max<int>(1, face.Metrics().tmAveCharWidth * kTabColumns)) {}

    // The pen after the character at i, starting from pen.
    long long Next(std::size_t i, long long pen) const {
        unsigned char ch = static_cast<unsigned char>(chars_[i]);
        if (ch == '\t' && expandTabs_) return (pen / tabWidth_ + 1) * tabWidth_;
        return pen + face_.Advance(ch);
    }
    LaidLine Make(std::size_t begin, std::size_t end) const {
        LaidLine line;
        line.begin = begin;
        line.end = end;
        // Measuring (DT_CALCRECT) needs only the width, not each character's position.
        if (withPens_) line.pens.reserve(end - begin);
        long long pen = 0;
        for (std::size_t i = begin; i < end; ++i) {
            if (withPens_) line.pens.push_back(static_cast<int>(std::min<long long>(pen, 1LL << 30)));
            pen = Next(i, pen);
        }
        line.width = static_cast<int>(std::min<long long>(pen, 1LL << 30));
        return line;
    }
    // Greedy word wrapping of [begin, end) into lines no wider than width where possible.
    // A line ends at the blank that does not fit, or at the last blank before the character
    // that does not fit; blanks that fit stay part of the line and its width.
    void Wrap(std::size_t begin, std::size_t end, int width, std::vector<LaidLine>& out) const {
        std::size_t start = begin;
        while (true) {
            long long pen = 0;
            std::size_t breakEnd = std::string::npos, breakNext = 0, i = start;
            for (; i < end; ++i) {
                pen = Next(i, pen);
                if (chars_[i] != ' ') {
                    if (pen > width && breakEnd != std::string::npos) break;
                    continue;
                }
                if (i == start) continue;
                breakEnd = breakNext = i;
                if (pen > width) break;
            }
            if (i >= end) {
                out.push_back(Make(start, end));
                return;
            }
            while (breakNext < end && chars_[breakNext] == ' ') ++breakNext;
            out.push_back(Make(start, breakEnd));
            start = breakNext;
            if (start >= end) return;
        }
    }

private:
    Typeface& face_;
    const std::string& chars_;
    bool expandTabs_;
    bool withPens_;
    int tabWidth_;
};

// Finds the end of the paragraph starting at i and where the next one starts.
std::size_t ParagraphEnd(const std::string& s, std::size_t i, std::size_t& next) {
    std::size_t j = i;
    while (j < s.size() && s[j] != '\r' && s[j] != '\n') ++j;
    next = j;
    if (j < s.size()) next = (s[j] == '\r' && j + 1 < s.size() && s[j + 1] == '\n') ? j + 2 : j + 1;
    return j;
}

}  // namespace

LaidText LayoutText(Typeface& face, std::string_view text, UINT format, int width) {
    LaidText laid;
    std::size_t mnemonic = StripPrefixes(text, format, laid.chars);
    LineBuilder builder(face, laid.chars, format);
    bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    const std::string& s = laid.chars;
    if (format & DT_SINGLELINE) {
        laid.lines.push_back(builder.Make(0, s.size()));
    } else {
        std::size_t i = 0;
        do {
            std::size_t next = 0;
            std::size_t end = ParagraphEnd(s, i, next);
            if (wrap) builder.Wrap(i, end, width, laid.lines);
            else laid.lines.push_back(builder.Make(i, end));
            i = next;
        } while (i < s.size());
    }
    for (LaidLine& line : laid.lines) {
        laid.maxWidth = std::max(laid.maxWidth, line.width);
        if (mnemonic != std::string::npos && mnemonic >= line.begin && mnemonic < line.end && !line.pens.empty()) {
            line.mnemonicPen = line.pens[mnemonic - line.begin];
            line.mnemonicWidth = face.Advance(static_cast<unsigned char>(s[mnemonic]));
        }
    }
    return laid;
}

}  // namespace brimlox::gdi::text
