// Replay handlers for lines, shapes, paths and DrawEdge.
#include "platform/gdi/trace_replay.h"

using namespace brimlox::gdi::replay;

namespace {

// Polyline and Polygon record their points and the count; the count must not claim more
// points than the list holds, or the call would read past them.
template <BOOL (*Call)(HDC, const POINT*, int)>
void ReplayPointList(Context& c, const Json& a, const Json&) {
    std::vector<POINT> points = c.Points(a, 1);
    int count = c.I(a, 2);
    if (count > 0 && static_cast<std::size_t>(count) > points.size())
        throw ReplayError("argument 3 counts more points than argument 2 holds");
    Call(c.Dc(a, 0), points.empty() ? nullptr : points.data(), count);
}

template <BOOL (*Call)(HDC)>
void ReplayDcOnly(Context& c, const Json& a, const Json&) {
    Call(c.Dc(a, 0));
}

const HandlerEntry kShapeHandlers[] = {
    {"LineTo", [](Context& c, const Json& a, const Json&) { LineTo(c.Dc(a, 0), c.I(a, 1), c.I(a, 2)); }},
    {"Polyline", ReplayPointList<Polyline>},
    {"Polygon", ReplayPointList<Polygon>},
    {"Rectangle",
     [](Context& c, const Json& a, const Json&) { Rectangle(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), c.I(a, 3), c.I(a, 4)); }},
    {"BeginPath", ReplayDcOnly<BeginPath>},
    {"EndPath", ReplayDcOnly<EndPath>},
    {"AbortPath", ReplayDcOnly<AbortPath>},
    {"CloseFigure", ReplayDcOnly<CloseFigure>},
    {"StrokePath", ReplayDcOnly<StrokePath>},
    {"FillPath", ReplayDcOnly<FillPath>},
    {"DrawEdge",
     [](Context& c, const Json& a, const Json&) {
         if (c.IsNull(a, 1)) {
             DrawEdge(c.Dc(a, 0), nullptr, c.U(a, 2), c.U(a, 3));
             return;
         }
         RECT r = c.Rect(a, 1);
         DrawEdge(c.Dc(a, 0), &r, c.U(a, 2), c.U(a, 3));
     }},
};

}  // namespace

void brimlox::gdi::replay::AddShapeHandlers(HandlerTable& table) {
    for (const auto& entry : kShapeHandlers) table[entry.op] = entry.handler;
}
