#include "controls/scrollbar/scrollbar_test.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"

namespace brimlox::test {

void ScrollBarTest::TearDown() {
    desktop::Desktop::Instance().SetSettleTime(1000);
    if (form && !form->Unloaded()) form->Unload();
    bar.reset();
    form.reset();
    HostTest::TearDown();
}

controls::ScrollBar& ScrollBarTest::MakeBar(int left, int top, int width, int height) {
    const int tpp = host::TwipsPerPixel();
    // Scripts end at their last line, so a test can look at the state in the middle of a press.
    desktop::Desktop::Instance().SetSettleTime(0);
    form = host::Form::Create("frmBar");
    form->SetBorderStyle(0);
    form->Move(0, 0, 640 * tpp, 400 * tpp);
    bar = std::static_pointer_cast<controls::ScrollBar>(form->Add("ScrollBar"));
    bar->Move(left * tpp, top * tpp, width * tpp, height * tpp);
    barLeft = left;
    barTop = top;
    auto now = [this] { return desktop::Desktop::Instance().Now() - scriptStart; };
    bar->Connect("Change", [this, now](std::span<host::Variant> a) {
        events.push_back({"Change", a[0].ToLong(), now(), bar->Value()});
    });
    bar->Connect("Scroll", [this, now](std::span<host::Variant>) {
        events.push_back({"Scroll", 0, now(), bar->Value()});
    });
    form->Show();
    host::DoEvents();
    return *bar;
}

void ScrollBarTest::Play(const std::string& script) {
    desktop::InputScript parsed;
    std::string error;
    ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
    // The script's times are taken from now, so a test can play several scripts in a row;
    // event times count from the first one, so they make one timeline.
    auto& desk = desktop::Desktop::Instance();
    std::uint64_t now = desk.Now();
    for (auto& e : parsed.events) e.timeMs += now;
    desk.SetInputSource(std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + now));
    if (!started) scriptStart = now;
    started = true;
    // A form unloaded earlier in the test left its quit message; it is not this script's end.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    host::Run();
}

COLORREF ScrollBarTest::BarPixel(int x, int y) const {
    host::DoEvents();
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, barLeft + x, barTop + y);
    ReleaseDC(nullptr, screen);
    return c;
}

std::string ScrollBarTest::At(int x, int y) const {
    return "move " + std::to_string(barLeft + x) + " " + std::to_string(barTop + y) + "\n";
}

std::vector<std::int32_t> ScrollBarTest::Distances(const std::string& name) const {
    std::vector<std::int32_t> out;
    for (const auto& e : events)
        if (e.name == name) out.push_back(e.distance);
    return out;
}

std::vector<std::uint64_t> ScrollBarTest::Times(const std::string& name) const {
    std::vector<std::uint64_t> out;
    for (const auto& e : events)
        if (e.name == name) out.push_back(e.time);
    return out;
}

}  // namespace brimlox::test
