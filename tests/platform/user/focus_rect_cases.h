// The DrawFocusRect cases shared by the focus tests and by the small Win32 program in
// tools/wine/ that records what Windows (as wine implements it) draws for them. Only plain
// integers here, so the table compiles against the platform's headers and a Windows SDK.
#pragma once

namespace focus_rect_cases {

// Each case draws one rectangle on a white 16 x 12 canvas and records which pixels turned black.
struct Case {
    int left, top, right, bottom;
};

constexpr int kWidth = 16;
constexpr int kHeight = 12;

constexpr Case kCases[] = {
    {1, 1, 9, 7}, {2, 3, 13, 10}, {0, 0, 1, 1}, {3, 3, 3, 8}, {5, 5, 2, 2}, {0, 0, 2, 1}, {0, 0, 1, 2},
    {0, 0, 2, 2}, {0, 0, 4, 1},   {0, 0, 1, 4}, {0, 0, 4, 2}, {1, 0, 4, 3}, {0, 0, 5, 3}, {2, 1, 9, 7},
    {-3, -2, 20, 15},
};

}  // namespace focus_rect_cases
