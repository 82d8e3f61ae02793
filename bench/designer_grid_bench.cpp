// Opening the designer's property grid for a Command: reading its rows from the type
// information (late-bound reads, kinds, value texts, name order), and the same with the grid's
// list filled, against the bare late-bound reads of the same properties (GetProperty of every
// browsable property). The target: at most 20 times the baseline.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "apps/designer/property_grid_view.h"
#include "apps/designer/property_rows.h"
#include "controls/library.h"
#include "platform/desktop/desktop.h"
#include "platform/host/form.h"

namespace {

using namespace brimlox;

struct DesignedCommand {
    DesignedCommand() {
        desktop::Desktop::Instance().Reset();
        controls::RegisterLibrary();
        form = host::Form::Create("frmBench", true);
        command = form->Add("Command");
    }
    ~DesignedCommand() { form->Discard(); }
    std::shared_ptr<host::Form> form;
    std::shared_ptr<host::Control> command;
};

void BM_GetEveryBrowsablePropertyBaseline(benchmark::State& state) {
    DesignedCommand designed;
    const auto members = designer::BrowsableProperties(*designed.command);
    for (auto _ : state)
        for (const host::MemberInfo* m : members) benchmark::DoNotOptimize(host::GetProperty(*designed.command, m->name));
    state.counters["properties"] = static_cast<double>(members.size());
}
BENCHMARK(BM_GetEveryBrowsablePropertyBaseline);

void BM_PropertyGridRowsOfCommand(benchmark::State& state) {
    DesignedCommand designed;
    const std::vector<std::shared_ptr<host::Dispatch>> selection{designed.command};
    for (auto _ : state) benchmark::DoNotOptimize(designer::PropertyRows::Read(selection).Rows().data());
}
BENCHMARK(BM_PropertyGridRowsOfCommand);

void BM_PropertyGridOpenForCommand(benchmark::State& state) {
    DesignedCommand designed;
    auto gridForm = host::Form::Create("frmGrid");
    gridForm->Move(0, 0, 260 * 15, 340 * 15);
    designer::PropertyGridView view(gridForm, RECT{0, 0, 260, 340});
    const std::vector<std::shared_ptr<host::Dispatch>> selection{designed.command};
    for (auto _ : state) {
        view.Show(designer::PropertyRows::Read(selection));
        benchmark::DoNotOptimize(view.List().ListCount());
    }
    gridForm->Discard();
}
BENCHMARK(BM_PropertyGridOpenForCommand);

}  // namespace
