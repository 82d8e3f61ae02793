// One mouse step of dragging a control on a design-mode form of 200 controls, painted, against
// repainting the two rectangles such a step touches (where the control was and where it is
// now) and nothing else. The target: at most twice the baseline.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "apps/designer/design_surface.h"
#include "platform/desktop/desktop.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace {

using brimlox::designer::DesignDocument;
using brimlox::designer::DesignSurface;

constexpr int kColumns = 20;
constexpr int kRows = 10;
constexpr int kCellPx = 32;  // each button 24 x 20 pixels in a 32 x 28 cell
constexpr int kRowPx = 28;

// A form of 20 x 10 command buttons, 15 twips a pixel.
std::string FormText() {
    std::string text = R"({"format": "brimlox-form", "version": 2,
      "form": {"Name": "frmBench", "Left": 0, "Top": 0, "Width": 9900, "Height": 5000}, "controls": [)";
    for (int i = 0; i < kColumns * kRows; ++i) {
        const int x = (i % kColumns) * kCellPx * 15;
        const int y = (i / kColumns) * kRowPx * 15;
        text += std::string(i ? "," : "") + R"({"type": "CommandButton", "name": "cmd)" + std::to_string(i) +
                R"(", "extender": {"Left": )" + std::to_string(x) + R"(, "Top": )" + std::to_string(y) +
                R"(, "Width": 360, "Height": 300}})";
    }
    return text + "]}";
}

std::unique_ptr<DesignDocument> OpenForm() {
    brimlox::desktop::Desktop::Instance().Reset();
    brimlox::host::StartHost();
    auto document = DesignDocument::FromText(FormText(), "bench.json");
    document->Form().Show();
    brimlox::host::DoEvents();
    return document;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// The drag: the control in the middle of the form is pressed once, then each step moves the
// mouse one grid step (8 pixels) right or back, and the paints it asks for run.
void BM_DesignSurfaceDragStep(benchmark::State& state) {
    auto document = OpenForm();
    auto surface = std::make_unique<DesignSurface>(*document);
    HWND form = document->Form().hWnd();
    const int x = 10 * kCellPx + 10;
    const int y = 5 * kRowPx + 10;
    SendMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    int step = 0;
    for (auto _ : state) {
        SendMessageA(form, WM_MOUSEMOVE, MK_LBUTTON, At(x + (++step % 2) * 8, y));
        brimlox::host::DoEvents();
    }
    // The step must really have moved the control: the press was on cmd110 at 4800 twips.
    const auto dragged = document->Form().Find("cmd110");
    if (!dragged || dragged->Left() != 4800 + (step % 2) * 120) state.SkipWithError("the control did not follow");
    SendMessageA(form, WM_LBUTTONUP, 0, At(x, y));
    surface.reset();
    document.reset();
}
BENCHMARK(BM_DesignSurfaceDragStep);

// The baseline: the same form, the old and the new rectangle of the dragged control
// (with its handles' margin) invalidated and painted, control windows included.
void BM_RepaintTwoRectanglesBaseline(benchmark::State& state) {
    auto document = OpenForm();
    HWND form = document->Form().hWnd();
    const RECT a{10 * kCellPx - 3, 5 * kRowPx - 3, 10 * kCellPx + 27, 5 * kRowPx + 23};
    const RECT b{a.left + 8, a.top, a.right + 8, a.bottom};
    for (auto _ : state) {
        RedrawWindow(form, &a, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        RedrawWindow(form, &b, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        brimlox::host::DoEvents();
    }
    document.reset();
}
BENCHMARK(BM_RepaintTwoRectanglesBaseline);

}  // namespace
