// Late-bound property get by name against a direct C++ call of the same getter.
//
// The probe has an interface the size of a control's (forty properties before the one read),
// and its getter is compiled out of line, as the controls' getters are: the baseline is a call
// the program really makes, not a load the optimiser folded into the loop.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/host/type_builder.h"

namespace {
using namespace brimlox::host;

class Probe : public Dispatch {
public:
    std::string TypeName() const override { return "Probe"; }
    const TypeInfo* GetTypeInfo() const override { return Info().get(); }
    [[gnu::noinline]] std::int32_t Value() const;
    [[gnu::noinline]] void SetValue(std::int32_t v);
    static const std::shared_ptr<const TypeInfo>& Info() {
        static const auto info = [] {
            TypeBuilder<Probe> builder("Probe");
            for (int i = 0; i < 40; ++i)
                builder.Property("Property" + std::to_string(i), &Probe::Value, &Probe::SetValue, "");
            return builder.Property("Value", &Probe::Value, &Probe::SetValue, "").Build();
        }();
        return info;
    }
    std::int32_t value_ = 42;
};

std::int32_t Probe::Value() const { return value_; }
void Probe::SetValue(std::int32_t v) { value_ = v; }

// The baseline: a direct call of the getter through a pointer the optimiser cannot see through.
void BM_DirectGetter(benchmark::State& state) {
    Probe p;
    Probe* volatile pp = &p;
    for (auto _ : state) benchmark::DoNotOptimize(pp->Value());
}
BENCHMARK(BM_DirectGetter);

// The same getter by name, the way the controls reach each other ("value" in another case).
void BM_LateBoundGetter(benchmark::State& state) {
    Probe p;
    for (auto _ : state) benchmark::DoNotOptimize(GetProperty(p, "value").ToLong());
}
BENCHMARK(BM_LateBoundGetter);
}  // namespace
