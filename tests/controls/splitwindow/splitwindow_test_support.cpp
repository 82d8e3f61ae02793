#include "controls/splitwindow/splitwindow_test.h"

#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/gdi/handles.h"

namespace brimlox::test {

namespace {

constexpr int kTwips = 15;

}  // namespace

void SplitWindowTest::SetUp() {
    HostTest::SetUp();
    events.clear();
}

void SplitWindowTest::TearDown() {
    if (form && !form->Unloaded()) form->Unload();
    form.reset();
    HostTest::TearDown();
}

host::Form& SplitWindowTest::MakeForm(bool designMode) {
    form = host::Form::Create("frmSplit", designMode);
    form->SetBorderStyle(0);
    form->Move(0, 0, 400 * kTwips, 300 * kTwips);
    form->Show();
    return *form;
}

std::shared_ptr<controls::SplitWindow> SplitWindowTest::AddSplitter(int x, int y, int w, int h,
                                                                     host::Control* container) {
    auto s = std::static_pointer_cast<controls::SplitWindow>(form->Add("SplitWindow", "", container));
    s->Move(x * kTwips, y * kTwips, w * kTwips, h * kTwips);
    return s;
}

std::vector<std::shared_ptr<host::Control>> SplitWindowTest::AddChildren(controls::SplitWindow& splitter,
                                                                         int count) {
    std::vector<std::shared_ptr<host::Control>> out;
    for (int i = 0; i < count; ++i) {
        auto c = form->Add("Probe", "", &splitter);
        const int along = 10 + 30 * i;
        if (splitter.Vertical()) c->Move(along * kTwips, 10 * kTwips, 20 * kTwips, 20 * kTwips);
        else c->Move(10 * kTwips, along * kTwips, 20 * kTwips, 20 * kTwips);
        out.push_back(c);
    }
    return out;
}

void SplitWindowTest::Play(const std::string& script) {
    desktop::InputScript parsed;
    std::string error;
    ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
    const std::uint64_t now = desktop::Desktop::Instance().Now();
    for (auto& e : parsed.events) e.timeMs += now;
    desktop::Desktop::Instance().SetInputSource(
        std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + now));
    host::Run();
}

void SplitWindowTest::Record(host::Control& control, const std::vector<std::string>& names) {
    for (const auto& name : names) {
        control.Connect(name, [this, name](std::span<host::Variant> args) {
            std::string entry = name;
            if (!args.empty()) {
                entry += "(";
                for (std::size_t i = 0; i < args.size(); ++i) entry += (i ? "," : "") + args[i].ToString();
                entry += ")";
            }
            events.push_back(entry);
        });
    }
}

std::vector<std::uint32_t> SplitWindowTest::ScreenPixels() {
    host::DoEvents();
    auto& screen = desktop::Desktop::Instance().Screen();
    std::vector<std::uint32_t> out;
    out.reserve(static_cast<std::size_t>(screen.Width()) * screen.Height());
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x) out.push_back(screen.Get(x, y));
    return out;
}

std::size_t SplitWindowTest::LiveGdiObjects() { return gdi::HandleTable::Instance().LiveCount(); }

std::vector<std::string> PaneText(const controls::SplitWindow& splitter) {
    std::vector<std::string> out;
    for (const auto& p : splitter.Panes()) out.push_back(std::to_string(p.start) + "+" + std::to_string(p.size));
    return out;
}

}  // namespace brimlox::test
