// Line breaking for DrawTextA. Rules checked against Windows: "&&" draws one ampersand, "&x"
// underlines x (only the last prefixed character of a text is underlined), a trailing line
// break adds no empty line, tabs advance to the next multiple of 8 x tmAveCharWidth from the
// line's start, a word wider than the rectangle is kept whole on its own line, blanks that
// fit count in a wrapped line's width, and a trailing "&" draws itself.
#include "platform/gdi/text/layout.h"

#include <cstring>

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
        : face_(face), chars_(chars), advances_(face.AllAdvances()), expandTabs_((format & DT_EXPANDTABS) && chars.find('\t') != std::string::npos), withPens_(!(format & DT_CALCRECT)),
          tabWidth_(std::max<int>(1, face.Metrics().tmAveCharWidth * kTabColumns)) {}

    // The pen after the character at i, starting from pen.
    long long Next(std::size_t i, long long pen) const {
        unsigned char ch = static_cast<unsigned char>(chars_[i]);
        if (ch == '\t' && expandTabs_) return (pen / tabWidth_ + 1) * tabWidth_;
        return pen + advances_[ch];
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
    // Advances from start until a character does not fit after a blank; i and pen end at
    // that character (or at end). Returns the last blank before it and the width up to it.
    std::pair<std::size_t, long long> ScanLine(std::size_t start, std::size_t end, long long width, std::size_t& i,
                                               long long& pen) const {
        std::size_t breakEnd = std::string::npos;
        long long breakWidth = 0, p = 0;
        std::size_t k = start;
        if (expandTabs_) ScanWithTabs(start, end, width, k, p, breakEnd, breakWidth);
        else ScanWithoutTabs(start, end, width, k, p, breakEnd, breakWidth);
        i = k;
        pen = p;
        return {breakEnd, breakWidth};
    }
    // ScanLine's loop when tabs expand: tab stops depend on the pen, so every character is
    // tested in turn.
    void ScanWithTabs(std::size_t start, std::size_t end, long long width, std::size_t& k, long long& p,
                      std::size_t& breakEnd, long long& breakWidth) const {
        const unsigned char* chars = reinterpret_cast<const unsigned char*>(chars_.data());
        for (; k < end; ++k) {
            long long before = p;
            p = chars[k] == '\t' ? (p / tabWidth_ + 1) * tabWidth_ : p + advances_[chars[k]];
            if (chars[k] == ' ' && k != start) breakEnd = k, breakWidth = before;
            if (p > width && breakEnd != std::string::npos) break;
        }
    }
    // ScanLine's result for a text without expanded tabs, found faster: sum advances up to
    // the first character that does not fit, then look back for the last blank (or on for
    // the next one when the word started the line). Advances never go backwards, so this
    // finds the same break as testing every character.
    void ScanWithoutTabs(std::size_t start, std::size_t end, long long width, std::size_t& k, long long& p,
                         std::size_t& breakEnd, long long& breakWidth) const {
        const unsigned char* chars = reinterpret_cast<const unsigned char*>(chars_.data());
        const int* advances = advances_;
        for (; k < end; ++k) {
            p += advances[chars[k]];
            if (p > width) break;
        }
        if (k >= end) return;
        long long after = p;  // pen after character k
        for (std::size_t j = k + 1; j-- > start + 1;) {
            after -= advances[chars[j]];  // now the pen before character j
            if (chars[j] == ' ') {
                breakEnd = j;
                breakWidth = after;
                return;
            }
        }
        for (++k; k < end; ++k) {  // a word wider than the line: break at the next blank
            if (chars[k] == ' ') {
                breakEnd = k;
                breakWidth = p;
                p += advances[chars[k]];
                return;
            }
            p += advances[chars[k]];
        }
    }
    // A line of [begin, end) whose width the caller already knows.
    LaidLine Measured(std::size_t begin, std::size_t end, long long width) const {
        if (withPens_) return Make(begin, end);
        LaidLine line;
        line.begin = begin;
        line.end = end;
        line.width = static_cast<int>(std::min<long long>(width, 1LL << 30));
        return line;
    }
    // Greedy word wrapping of [begin, end) into lines no wider than width where possible.
    // A line ends at the blank that does not fit, or at the last blank before the character
    // that does not fit; blanks that fit stay part of the line and its width. One pass
    // measures, so DT_CALCRECT costs about as much as measuring the text once.
    void Wrap(std::size_t begin, std::size_t end, int width, std::vector<LaidLine>& out) const {
        std::size_t start = begin;
        while (true) {
            long long pen = 0;
            std::size_t i = start;
            auto [breakEnd, breakWidth] = ScanLine(start, end, width, i, pen);
            if (i >= end) {
                out.push_back(Measured(start, end, pen));
                return;
            }
            out.push_back(Measured(start, breakEnd, breakWidth));
            start = breakEnd;
            while (start < end && chars_[start] == ' ') ++start;
            if (start >= end) return;
        }
    }

private:
    Typeface& face_;
    const std::string& chars_;
    const int* advances_;
    bool expandTabs_;
    bool withPens_;
    int tabWidth_;
};

// Finds the end of the paragraph starting at i and where the next one starts.
std::size_t ParagraphEnd(const std::string& s, std::size_t i, std::size_t& next) {
    // memchr scans a long paragraph many times faster than a character loop.
    const char* begin = s.data() + i;
    std::size_t left = s.size() - i;
    const void* lf = std::memchr(begin, '\n', left);
    const void* cr = std::memchr(begin, '\r', lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - begin) : left);
    const char* stop = static_cast<const char*>(cr ? cr : lf);
    std::size_t j = stop ? static_cast<std::size_t>(stop - s.data()) : s.size();
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
