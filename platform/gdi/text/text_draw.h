// Helpers the text calls share: anchoring a run at a reference point, drawing it with its
// background and decorations, and the length limit every text call enforces.
#pragma once

#include "platform/gdi/dc.h"
#include "platform/gdi/text/paint.h"

namespace brimlox::gdi::text {

// Longest text a call accepts (a count beyond it fails, as a bad argument does on Windows).
constexpr int kMaxTextLength = 1 << 24;

// The frame of a run anchored at a logical reference point by the TA_* flags.
RunFrame AnchorRun(const DcObject& dc, Typeface& face, POINT ref, int width, UINT align);

// Draws a placed run: opaque background when asked, glyphs, underline and strike-out.
void DrawRun(DcObject& dc, Typeface& face, const PlacedRun& run, const RunFrame& frame, const RECT& clip, bool opaque);

RECT Intersect(const RECT& a, const RECT& b);

}  // namespace brimlox::gdi::text
