// A form built in C++: a scroll bar whose Change event shows its value in a label, and a
// Command that puts the scroll bar back to 0. Headless (no display) it prints what the
// handlers do for a value set by code and a button press, then runs the form until nothing
// more can happen; with a display it runs live until the window is closed.
#include <cstdio>
#include <memory>
#include <string>

#include "controls/command/command.h"
#include "controls/library.h"
#include "controls/scrollbar/scrollbar.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/host/standard_controls.h"

using namespace brimlox;

int main() {
    controls::RegisterLibrary();
    auto form = host::Form::Create("frmVolume");
    form->SetCaption("Volume");
    form->Move(0, 0, 4800, 2400);

    auto label = std::static_pointer_cast<host::Label>(form->Add("Label", "lblVolume"));
    label->Move(240, 240, 4000, 300);
    auto bar = std::static_pointer_cast<controls::ScrollBar>(form->Add("ScrollBar", "hsbVolume"));
    bar->Move(240, 660, 4000, 255);
    bar->SetMax(100);
    auto reset = std::static_pointer_cast<controls::Command>(form->Add("Command", "cmdReset"));
    reset->Move(240, 1140, 1815, 465);
    reset->SetCaption("&Reset");

    // The scroll bar raises Change when the user moves it; code that sets Value shows the new
    // value itself, so both go through one function.
    auto show = [&] { label->SetCaption("Volume: " + std::to_string(bar->Value())); };
    bar->Connect("Change", [&](std::span<host::Variant>) { show(); });
    reset->Connect("Click", [&](std::span<host::Variant>) {
        bar->SetValue(0);
        show();
    });

    bar->SetValue(40);
    show();
    std::printf("%s\n", label->Caption().c_str());
    reset->RaiseEvent("Click");
    std::printf("%s\n", label->Caption().c_str());

    form->Show();
    return host::Run();
}
