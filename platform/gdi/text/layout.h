// DrawTextA's layout: mnemonic prefixes, line breaks, word wrapping and tab expansion turn a
// text into lines of placed characters. Layout knows nothing of DCs, so DT_CALCRECT and
// drawing share it and tests can check it alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/text/typeface.h"

namespace brimlox::gdi::text {

struct LaidLine {
    std::size_t begin = 0;  // range of LaidText::chars
    std::size_t end = 0;
    std::vector<int> pens;  // pen offset of each character from the line's start (empty when measuring)
    int width = 0;          // advance of the line without trailing blanks
    int mnemonicPen = -1;   // pen offset of the underlined character, -1 if none
    int mnemonicWidth = 0;
};

struct LaidText {
    std::string chars;  // the text with prefixes and expanded tabs removed
    std::vector<LaidLine> lines;
    int maxWidth = 0;
};

// Lays a text out for DrawTextA's format flags in a rectangle `width` pixels wide. Tabs
// stop every eight average character widths when DT_EXPANDTABS is set.
LaidText LayoutText(Typeface& face, std::string_view text, UINT format, int width);

}  // namespace brimlox::gdi::text
