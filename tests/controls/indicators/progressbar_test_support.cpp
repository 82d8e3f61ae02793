#include <filesystem>

#include "controls/indicators/progressbar_test.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/form_file.h"
#include "support/gdi_test.h"

namespace brimlox::test {

void ProgressBarTest::TearDown() {
    desktop::Desktop::Instance().SetSettleTime(1000);
    if (form && !form->Unloaded()) form->Unload();
    bar.reset();
    form.reset();
    HostTest::TearDown();
}

controls::ProgressBar& ProgressBarTest::MakeBar(int left, int top, int width, int height, bool designMode) {
    const int tpp = host::TwipsPerPixel();
    form = host::Form::Create("frmProgress", designMode);
    form->SetBorderStyle(0);
    form->Move(0, 0, 400 * tpp, 200 * tpp);
    bar = std::static_pointer_cast<controls::ProgressBar>(form->Add("ProgressBar"));
    bar->Move(left * tpp, top * tpp, width * tpp, height * tpp);
    barLeft = left;
    barTop = top;
    bar->Connect("PercentChange", [this](std::span<host::Variant>) { ++percentChanges; });
    form->Show();
    host::DoEvents();
    return *bar;
}

COLORREF ProgressBarTest::Pixel(int x, int y) const {
    host::DoEvents();
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, barLeft + x, barTop + y);
    ReleaseDC(nullptr, screen);
    return c;
}

void ProgressBarTest::Wait(int ms) {
    desktop::InputScript parsed;
    std::string error;
    ASSERT_TRUE(desktop::ParseInputScript("wait " + std::to_string(ms) + "ms\n", parsed, error)) << error;
    auto& desk = desktop::Desktop::Instance();
    std::uint64_t now = desk.Now();
    desk.SetSettleTime(0);
    desk.SetInputSource(std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + now));
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    host::Run();
}

std::shared_ptr<controls::ProgressBar> ProgressBarTest::Reload() {
    std::string name = bar->Name();
    std::string path = OutputDir() + "/progressbar_round_trip.json";
    host::SaveFormFile(*form, path);
    form->Unload();
    bar.reset();
    form = host::LoadFormFile(path);
    std::filesystem::remove(path);
    bar = std::dynamic_pointer_cast<controls::ProgressBar>(form->Find(name));
    return bar;
}

}  // namespace brimlox::test
