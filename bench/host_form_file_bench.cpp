// Loading and saving a form file of 1,000 controls with 40 properties each, against parsing
// and serialising the same JSON with nlohmann alone; the same for a form of 10 controls.
#include <benchmark/benchmark.h>

#include "platform/desktop/desktop.h"
#include "platform/host/control_registry.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/host/runtime.h"
#include "platform/user/user.h"

namespace {
using namespace brimlox::host;

// A control with forty design-time properties of mixed kinds.
class Wide : public Control {
public:
    std::string TypeName() const override { return "BenchWide"; }
    void ReadProperties(PropertyBag& bag) override {
        for (int i = 0; i < 40; ++i) values_[i] = bag.ReadProperty(Key(i), Default(i));
    }
    void WriteProperties(PropertyBag& bag) override {
        for (int i = 0; i < 40; ++i) bag.WriteProperty(Key(i), values_[i], Default(i));
    }
    void InitProperties() override {
        for (int i = 0; i < 40; ++i) values_[i] = i % 3 == 0 ? Variant("text " + std::to_string(i)) : i % 3 == 1 ? Variant(i * 7) : Variant(i % 2 == 0);
    }

private:
    static std::string Key(int i) { return "Property" + std::to_string(i); }
    static Variant Default(int i) { return i % 3 == 0 ? Variant("") : i % 3 == 1 ? Variant(0) : Variant(false); }
    Variant values_[40];
};

std::string MakeFile(int controls) {
    brimlox::desktop::Desktop::Instance().Reset();
    RegisterControlType("BenchWide", [] { return std::make_shared<Wide>(); });
    auto form = Form::Create("frmBench");
    for (int i = 0; i < controls; ++i) form->Add("BenchWide", "ctl" + std::to_string(i));
    std::string text = SaveFormText(*form);
    form->Unload();
    return text;
}

const std::string& File() {
    static const std::string text = MakeFile(1000);
    return text;
}

const std::string& SmallFile() {
    static const std::string text = MakeFile(10);
    return text;
}

void BM_NlohmannParseAndDump(benchmark::State& state) {
    const std::string& text = File();
    for (auto _ : state) {
        auto json = OrderedJson::parse(text);
        benchmark::DoNotOptimize(json.dump(2));
    }
}
BENCHMARK(BM_NlohmannParseAndDump)->Unit(benchmark::kMillisecond);

void BM_FormFileLoadAndSave(benchmark::State& state) {
    const std::string& text = File();
    for (auto _ : state) {
        auto form = LoadFormText(text, "bench.json");
        benchmark::DoNotOptimize(SaveFormText(*form));
        form->Discard();
    }
}
BENCHMARK(BM_FormFileLoadAndSave)->Unit(benchmark::kMillisecond);

// A form of 10 controls: loading it (the form's window and its surface included) against
// parsing and dumping the same JSON.
void BM_NlohmannParseAndDump10Controls(benchmark::State& state) {
    const std::string& text = SmallFile();
    for (auto _ : state) {
        auto json = OrderedJson::parse(text);
        benchmark::DoNotOptimize(json.dump(2));
    }
}
BENCHMARK(BM_NlohmannParseAndDump10Controls)->Unit(benchmark::kMicrosecond);

void BM_FormFileLoad10Controls(benchmark::State& state) {
    const std::string& text = SmallFile();
    for (auto _ : state) {
        auto form = LoadFormText(text, "bench.json");
        benchmark::DoNotOptimize(form.get());
        form->Discard();
    }
}
BENCHMARK(BM_FormFileLoad10Controls)->Unit(benchmark::kMicrosecond);

}  // namespace
