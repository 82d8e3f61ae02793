// Replay handlers for fonts and text: each decodes the traced arguments and makes the call
// again. Calls that only measure are replayed too, so a trace replays without gaps.
#include <string>
#include <vector>

#include "platform/gdi/trace_replay.h"

using namespace brimlox::gdi;
using namespace brimlox::gdi::replay;

namespace {

LOGFONTA LogFontArg(Context& c, const Json& a, std::size_t i) {
    LOGFONTA lf;
    lf.lfHeight = c.Field<LONG>(a, i, "lfHeight");
    lf.lfWidth = c.Field<LONG>(a, i, "lfWidth");
    lf.lfEscapement = c.Field<LONG>(a, i, "lfEscapement");
    lf.lfOrientation = c.Field<LONG>(a, i, "lfOrientation");
    lf.lfWeight = c.Field<LONG>(a, i, "lfWeight");
    lf.lfItalic = c.Field<BYTE>(a, i, "lfItalic");
    lf.lfUnderline = c.Field<BYTE>(a, i, "lfUnderline");
    lf.lfStrikeOut = c.Field<BYTE>(a, i, "lfStrikeOut");
    lf.lfCharSet = c.Field<BYTE>(a, i, "lfCharSet");
    lf.lfOutPrecision = c.Field<BYTE>(a, i, "lfOutPrecision");
    lf.lfClipPrecision = c.Field<BYTE>(a, i, "lfClipPrecision");
    lf.lfQuality = c.Field<BYTE>(a, i, "lfQuality");
    lf.lfPitchAndFamily = c.Field<BYTE>(a, i, "lfPitchAndFamily");
    const std::string& face = c.StringField(a, i, "lfFaceName");
    std::string name = c.Text(Json::array({face}), 0);
    if (name.size() >= LF_FACESIZE) throw ReplayError("argument " + std::to_string(i + 1) + " has a face name over 31 characters");
    name.copy(lf.lfFaceName, name.size());
    return lf;
}

// The traced count must not claim more characters than the traced text holds.
int CountArg(Context& c, const Json& a, std::size_t i, const std::string& text) {
    int count = c.I(a, i);
    if (count > static_cast<int>(text.size()))
        throw ReplayError("argument " + std::to_string(i + 1) + " counts more characters than the text has");
    return count;
}

void ReplayExtTextOut(Context& c, const Json& a, const Json&) {
    std::string text = c.Text(a, 5);
    int count = CountArg(c, a, 6, text);
    RECT r{};
    bool hasRect = !c.IsNull(a, 4);
    if (hasRect) r = c.Rect(a, 4);
    std::vector<INT> dx = c.Numbers<INT>(a, 7);
    if (!dx.empty() && dx.size() < static_cast<std::size_t>(count))
        throw ReplayError("argument 8 has fewer advances than characters");
    ExtTextOutA(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), c.U(a, 3), hasRect ? &r : nullptr, text.c_str(),
                static_cast<UINT>(count < 0 ? 0 : count), dx.empty() ? nullptr : dx.data());
}

void ReplayDrawText(Context& c, const Json& a, const Json&) {
    std::string text = c.Text(a, 1);
    RECT r = c.Rect(a, 3);
    // The trace holds the measured characters; a count of -1 becomes their number.
    DrawTextA(c.Dc(a, 0), text.c_str(), static_cast<int>(text.size()), &r, c.U(a, 4));
}

void ReplayGrayString(Context& c, const Json& a, const Json&) {
    if (c.IsNull(a, 2)) return;  // an output callback cannot be replayed; its pixels are in the trace
    std::string text = c.Text(a, 2);
    int count = CountArg(c, a, 3, text);
    GrayStringA(c.Dc(a, 0), c.Brush(a, 1), nullptr, reinterpret_cast<LPARAM>(text.c_str()), count, c.I(a, 4),
                c.I(a, 5), c.I(a, 6), c.I(a, 7));
}

const HandlerEntry kTextHandlers[] = {
    {"CreateFontIndirectA",
     [](Context& c, const Json& a, const Json& ret) {
         LOGFONTA lf = LogFontArg(c, a, 0);
         c.Bind(ret, CreateFontIndirectA(&lf));
     }},
    {"TextOutA",
     [](Context& c, const Json& a, const Json&) {
         std::string text = c.Text(a, 3);
         TextOutA(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), text.c_str(), CountArg(c, a, 4, text));
     }},
    {"ExtTextOutA", ReplayExtTextOut},
    {"DrawTextA", ReplayDrawText},
    {"GrayStringA", ReplayGrayString},
    {"SetTextAlign", [](Context& c, const Json& a, const Json&) { SetTextAlign(c.Dc(a, 0), c.U(a, 1)); }},
    {"GetTextExtentPoint32A", [](Context&, const Json&, const Json&) {}},
    {"GetTextMetricsA", [](Context&, const Json&, const Json&) {}},
};

}  // namespace

void brimlox::gdi::replay::AddTextHandlers(HandlerTable& table) {
    for (const auto& entry : kTextHandlers) table[entry.op] = entry.handler;
}
