// Replay handlers of the blits: each call is made again with the recorded arguments.
#include "platform/gdi/trace_replay.h"

namespace brimlox::gdi::replay {
namespace {

const HandlerEntry kBlitHandlers[] = {
    {"PatBlt", [](Context& c, const Json& a, const Json&) {
         PatBlt(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), c.I(a, 3), c.I(a, 4), c.U(a, 5));
     }},
    {"BitBlt", [](Context& c, const Json& a, const Json&) {
         BitBlt(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), c.I(a, 3), c.I(a, 4), c.Dc(a, 5), c.I(a, 6), c.I(a, 7), c.U(a, 8));
     }},
    {"StretchBlt", [](Context& c, const Json& a, const Json&) {
         StretchBlt(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), c.I(a, 3), c.I(a, 4), c.Dc(a, 5), c.I(a, 6), c.I(a, 7),
                    c.I(a, 8), c.I(a, 9), c.U(a, 10));
     }},
    {"TransparentBlt", [](Context& c, const Json& a, const Json&) {
         TransparentBlt(c.Dc(a, 0), c.I(a, 1), c.I(a, 2), c.I(a, 3), c.I(a, 4), c.Dc(a, 5), c.I(a, 6), c.I(a, 7),
                        c.I(a, 8), c.I(a, 9), c.U(a, 10));
     }},
};

}  // namespace

void AddBlitHandlers(HandlerTable& table) {
    for (const auto& entry : kBlitHandlers) table[entry.op] = entry.handler;
}
}  // namespace brimlox::gdi::replay
