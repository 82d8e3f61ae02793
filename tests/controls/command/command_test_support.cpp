#include "controls/command/command_test.h"

#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"

namespace brimlox::test {

void CommandTest::SetUp() {
    HostTest::SetUp();
    events.clear();
}

void CommandTest::TearDown() {
    if (form && !form->Unloaded()) form->Unload();
    form.reset();
    HostTest::TearDown();
}

void CommandTest::Script(const std::string& text) {
    desktop::InputScript parsed;
    std::string error;
    ASSERT_TRUE(desktop::ParseInputScript(text, parsed, error)) << error;
    const std::uint64_t now = desktop::Desktop::Instance().Now();
    for (auto& e : parsed.events) e.timeMs += now;
    desktop::Desktop::Instance().SetInputSource(
        std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + now));
}

std::shared_ptr<host::Form> CommandTest::MakeForm(const std::string& name) {
    form = host::Form::Create(name);
    form->SetBorderStyle(0);
    form->Move(0, 0, 400 * 15, 300 * 15);
    form->Show();
    return form;
}

std::shared_ptr<controls::Command> CommandTest::AddButton(host::Form& f, const std::string& name, int x, int y, int w,
                                                          int h) {
    auto button = std::static_pointer_cast<controls::Command>(f.Add("Command", name));
    button->Move(x * 15, y * 15, w * 15, h * 15);
    for (const char* event : {"MouseDown", "MouseUp", "Click", "MenuClick"}) {
        button->Connect(event, [this, name, event](std::span<host::Variant>) { Log(name + ":" + event); });
    }
    return button;
}

}  // namespace brimlox::test
