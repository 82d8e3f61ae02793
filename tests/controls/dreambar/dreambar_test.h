// Test support for DreamBar: a borderless form at the screen's origin, bars and plain child
// controls placed in pixels, and a log of the events a control raises.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/divider/divider_test.h"
#include "controls/dreambar/dreambar.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/gdi/handles.h"
#include "platform/host/host_test.h"

namespace brimlox::test {


class DreamBarTest : public HostTest {
protected:
    static constexpr int kTwips = 15;
    void TearDown() override {
        if (form && !form->Unloaded()) form->Unload();
        form.reset();
        HostTest::TearDown();
    }
    host::Form& MakeForm(bool designMode = false) {
        form = host::Form::Create("frmBar", designMode);
        form->SetBorderStyle(0);
        form->Move(0, 0, 400 * kTwips, 300 * kTwips);
        form->Show();
        return *form;
    }
    std::shared_ptr<controls::DreamBar> AddBar(int x, int y, int w, int h) {
        auto bar = std::static_pointer_cast<controls::DreamBar>(form->Add("DreamBar"));
        bar->Move(x * kTwips, y * kTwips, w * kTwips, h * kTwips);
        return bar;
    }
    std::shared_ptr<host::Control> AddChild(controls::DreamBar& bar, int x, int y) {
        auto c = form->Add("Probe", "", &bar);
        c->Move(x * kTwips, y * kTwips, 20 * kTwips, 20 * kTwips);
        return c;
    }
    void Record(host::Control& control, const std::vector<std::string>& names) {
        for (const auto& name : names) {
            control.Connect(name, [this, name](std::span<host::Variant> args) {
                std::string entry = name;
                for (std::size_t i = 0; i < args.size(); ++i) entry += (i ? "," : "(") + args[i].ToString();
                events.push_back(entry + (args.empty() ? "" : ")"));
            });
        }
    }
    static std::vector<std::string> Keys(const host::PropertyBag& bag) {
        std::vector<std::string> keys;
        for (const auto& [key, value] : bag.Entries()) keys.push_back(key);
        return keys;
    }

    // Installs an input script whose times count from now and runs the loop to its end.
    void Play(const std::string& script) {
        desktop::InputScript parsed;
        std::string error;
        ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
        const std::uint64_t now = desktop::Desktop::Instance().Now();
        for (auto& e : parsed.events) e.timeMs += now;
        desktop::Desktop::Instance().SetInputSource(
            std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + now));
        host::Run();
    }
    static std::size_t LiveGdiObjects() { return gdi::HandleTable::Instance().LiveCount(); }

    std::shared_ptr<host::Form> form;
    std::vector<std::string> events;
};


}  // namespace brimlox::test
