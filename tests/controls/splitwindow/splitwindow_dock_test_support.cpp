#include "controls/splitwindow/splitwindow_dock_test.h"

#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"

namespace brimlox::test {

void DockTest::TearDown() {
    if (form && !form->Unloaded()) form->Unload();
    form.reset();
    HostTest::TearDown();
}

host::Form& DockTest::MakeForm(int w, int h) {
    form = host::Form::Create("frmDock");
    form->SetBorderStyle(0);
    form->Move(0, 0, Px(w), Px(h));
    form->Show();
    return *form;
}

std::shared_ptr<controls::SplitWindow> DockTest::AddToolBar(int x, int y, int w, int h, host::Control* container,
                                                            const std::string& name) {
    auto bar = std::static_pointer_cast<controls::SplitWindow>(form->Add("SplitWindow", name, container));
    bar->SetStyle(controls::ToolBarWindow);
    bar->SetDockable(true);
    bar->SetSizeable(true);
    bar->Move(Px(x), Px(y), Px(w), Px(h));
    bar->SetFloatWidth(static_cast<float>(Px(w)));
    bar->SetFloatHeight(static_cast<float>(Px(h)));
    return bar;
}

std::shared_ptr<host::Control> DockTest::AddButton(host::Control& bar, int w, int h) {
    auto b = form->Add("Command", "", &bar);
    b->Move(0, 0, Px(w), Px(h));
    return b;
}

std::shared_ptr<controls::Divider> DockTest::AddDivider(host::Control& bar, std::int16_t style, int w, int h) {
    auto d = std::static_pointer_cast<controls::Divider>(form->Add("Divider", "", &bar));
    d->Move(0, 0, Px(w), Px(h));
    d->SetStyle(style);
    return d;
}

void DockTest::Play(const std::string& script) {
    desktop::InputScript parsed;
    std::string error;
    ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
    const std::uint64_t now = desktop::Desktop::Instance().Now();
    for (auto& e : parsed.events) e.timeMs += now;
    desktop::Desktop::Instance().SetInputSource(
        std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + now));
    host::Run();
}

void DockTest::Idle(int ms) { Play("wait " + std::to_string(ms) + "ms\n"); }

}  // namespace brimlox::test
