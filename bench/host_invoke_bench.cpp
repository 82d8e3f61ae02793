// Late-bound property get by name against a direct C++ call of the same getter.
#include <benchmark/benchmark.h>

#include "platform/host/type_builder.h"

namespace {
using namespace brimlox::host;

class Probe : public Dispatch {
public:
    std::string TypeName() const override { return "Probe"; }
    const TypeInfo* GetTypeInfo() const override { return Info().get(); }
    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t v) { value_ = v; }
    static const std::shared_ptr<const TypeInfo>& Info() {
        static const auto info = TypeBuilder<Probe>("Probe")
                                     .Property("Caption", &Probe::Value, &Probe::SetValue, "")
                                     .Property("Enabled", &Probe::Value, &Probe::SetValue, "")
                                     .Property("Value", &Probe::Value, &Probe::SetValue, "")
                                     .Build();
        return info;
    }
    std::int32_t value_ = 42;
};

// The baseline: a direct call through a pointer the optimiser cannot see through.
void BM_DirectGetter(benchmark::State& state) {
    Probe p;
    Probe* volatile pp = &p;
    for (auto _ : state) benchmark::DoNotOptimize(pp->Value());
}
BENCHMARK(BM_DirectGetter);

void BM_LateBoundGetter(benchmark::State& state) {
    Probe p;
    for (auto _ : state) benchmark::DoNotOptimize(GetProperty(p, "Value").ToLong());
}
BENCHMARK(BM_LateBoundGetter);
}  // namespace
