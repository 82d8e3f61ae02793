// The wide-pen cases shared by the line tests and by the small Win32 program in wine/ that
// records what Windows (as wine implements it) draws for them. Only plain integers here, so
// the same table compiles against the platform's headers and against a Windows SDK.
#pragma once

namespace wide_pen_cases {

// How the pen is made: CreatePen(PS_SOLID, width) or ExtCreatePen(PS_GEOMETRIC | cap | join).
enum PenKind { kCreatePen, kRoundRound, kSquareRound, kFlatRound, kFlatBevel, kFlatMiter, kSquareMiter, kPenKinds };

// Flag values as Windows defines them.
constexpr unsigned kEndCapRound = 0x000, kEndCapSquare = 0x100, kEndCapFlat = 0x200;
constexpr unsigned kJoinRound = 0x0000, kJoinBevel = 0x1000, kJoinMiter = 0x2000;

inline unsigned PenFlags(int kind) {
    switch (kind) {
        case kSquareRound: return kEndCapSquare | kJoinRound;
        case kFlatRound: return kEndCapFlat | kJoinRound;
        case kFlatBevel: return kEndCapFlat | kJoinBevel;
        case kFlatMiter: return kEndCapFlat | kJoinMiter;
        case kSquareMiter: return kEndCapSquare | kJoinMiter;
        default: return kEndCapRound | kJoinRound;
    }
}

struct Shape {
    int count;          // points used
    int x[5], y[5];     // within a cell, before the cell's offset
    bool path;          // drawn as BeginPath / Polyline / (CloseFigure) / EndPath / StrokePath
    bool closed;        // CloseFigure before EndPath (paths only)
};

// Open lines at the slopes that matter (both directions, shallow, steep, diagonal), two
// polylines with a sharp and a right-angled joint, and closed and open paths.
constexpr Shape kShapes[] = {
    {2, {6, 26}, {10, 10}, false, false},                 // horizontal
    {2, {15, 15}, {3, 25}, false, false},                 // vertical
    {2, {5, 26}, {8, 15}, false, false},                  // shallow, slope 1/3
    {2, {8, 18}, {4, 26}, false, false},                  // steep, slope 22/10
    {2, {6, 22}, {6, 22}, false, false},                  // diagonal
    {2, {24, 7}, {21, 5}, false, false},                  // right to left, upwards
    {3, {5, 15, 25}, {6, 24, 8}, false, false},           // sharp joint
    {3, {6, 22, 22}, {8, 8, 24}, false, false},           // right angle
    {4, {6, 24, 12, 6}, {6, 12, 25, 6}, true, true},      // closed triangle, path
    {4, {5, 25, 8, 24}, {7, 9, 22, 26}, true, false},     // open zigzag, path
};
constexpr int kShapeCount = sizeof(kShapes) / sizeof(kShapes[0]);

constexpr int kMinWidth = 2, kMaxWidth = 8;
constexpr int kCell = 32;
// The grid: one row per (width, pen kind), one column per shape.
constexpr int kRows = (kMaxWidth - kMinWidth + 1) * kPenKinds;
constexpr int kImageWidth = kShapeCount * kCell, kImageHeight = kRows * kCell;

}  // namespace wide_pen_cases
