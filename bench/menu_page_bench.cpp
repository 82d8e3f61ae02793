// ApplyChanges of the Menu page with 101 items (the window-list flag, the list emptied, each
// item written through the control's late-bound cursor properties) against what the control's
// own list does for the same result: ClearMenu and 101 AddMenu calls. The target: at most 20
// times the baseline.
#include <benchmark/benchmark.h>

#include <string>

#include "controls/command/command.h"
#include "controls/library.h"
#include "menus/editor/menu_page_model.h"
#include "platform/host/form.h"

namespace {

constexpr int kItems = 101;

std::string CaptionOf(int i) { return (i % 5 ? ">" : "") + std::string("Item ") + std::to_string(i); }

void BM_ClearMenuAndAddMenuBaseline(benchmark::State& state) {
    brimlox::controls::RegisterLibrary();
    auto form = brimlox::host::Form::Create("frmBench", true);
    auto cmd = std::static_pointer_cast<brimlox::controls::Command>(form->Add("Command"));
    std::vector<std::string> captions;
    for (int i = 0; i < kItems; ++i) captions.push_back(CaptionOf(i));
    for (auto _ : state) {
        cmd->Menu().ClearMenu();
        for (const auto& c : captions) cmd->Menu().AddMenu(c, brimlox::host::Variant(c));
        benchmark::DoNotOptimize(cmd->Menu().Items().data());
    }
    form->Discard();
}
BENCHMARK(BM_ClearMenuAndAddMenuBaseline);

void BM_MenuPageApplyChanges(benchmark::State& state) {
    brimlox::controls::RegisterLibrary();
    auto form = brimlox::host::Form::Create("frmBench", true);
    auto cmd = form->Add("Command");
    brimlox::menus::MenuPageModel page;
    for (int i = 0; i < kItems; ++i) {
        auto& item = page.Edit(static_cast<std::size_t>(i));
        item.caption = CaptionOf(i);
        item.tag = item.caption;
    }
    for (auto _ : state) page.Apply(*cmd, nullptr);
    form->Discard();
}
BENCHMARK(BM_MenuPageApplyChanges);

}  // namespace
