// The designer's history on a form of 200 controls: one Commit (a whole-form snapshot) against
// SaveFormJson of the same form, its baseline; one Undo (rebuilding every control in the same
// window) against loading the same state as a new form.
#include <benchmark/benchmark.h>

#include "apps/designer/design_document.h"
#include "platform/desktop/desktop.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"

namespace {
using namespace brimlox;

constexpr int kControls = 200;

std::unique_ptr<designer::DesignDocument> MakeDocument() {
    desktop::Desktop::Instance().Reset();
    auto doc = designer::DesignDocument::FromText(
        R"({"format": "brimlox-form", "version": 2,
            "form": {"Name": "frmBench", "Left": 0, "Top": 0, "Width": 9600, "Height": 7200}, "controls": []})",
        "bench.json");
    for (int i = 0; i < kControls; ++i) {
        const LONG x = (i % 20) * 450, y = (i / 20) * 450;
        doc->Form().Add(i % 2 ? "CommandButton" : "Label", "ctl" + std::to_string(i))->Move(x, y, 420, 420);
    }
    doc->Commit("Place");
    return doc;
}

void BM_SaveFormJson200Controls(benchmark::State& state) {
    auto doc = MakeDocument();
    for (auto _ : state) benchmark::DoNotOptimize(host::SaveFormJson(doc->Form()));
}
BENCHMARK(BM_SaveFormJson200Controls)->Unit(benchmark::kMicrosecond);

void BM_DesignCommit200Controls(benchmark::State& state) {
    auto doc = MakeDocument();
    for (auto _ : state) doc->Commit("Move");
}
BENCHMARK(BM_DesignCommit200Controls)->Unit(benchmark::kMicrosecond);

void BM_LoadFormJson200Controls(benchmark::State& state) {
    auto doc = MakeDocument();
    const host::OrderedJson json = host::SaveFormJson(doc->Form());
    for (auto _ : state) {
        auto form = host::LoadFormJson(json, "bench.json", true);
        form->Discard();
    }
}
BENCHMARK(BM_LoadFormJson200Controls)->Unit(benchmark::kMillisecond);

// Undo and Redo of a step that removed one control: two rebuilds of the whole form.
void BM_DesignUndoRedo200Controls(benchmark::State& state) {
    auto doc = MakeDocument();
    doc->Delete(std::vector{doc->Form().Controls().front()});
    for (auto _ : state) {
        doc->Undo();
        doc->Redo();
    }
}
BENCHMARK(BM_DesignUndoRedo200Controls)->Unit(benchmark::kMillisecond);

}  // namespace
