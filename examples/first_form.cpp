#include "controls/command/command.h"
#include "controls/library.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/host/runtime.h"
#include "platform/host/standard_controls.h"

using namespace brimlox;

int main() {
    controls::RegisterLibrary();
    auto form = host::Form::Create("frmHello");
    form->SetCaption("Hello");
    form->Move(0, 0, 4500, 2400);                        // twips: 300 x 160 pixels at 15 twips a pixel
    auto label = std::static_pointer_cast<host::Label>(form->Add("Label", "lblCount"));
    label->Move(240, 240, 3000, 300);
    label->SetCaption("Press the button");
    auto button = std::static_pointer_cast<controls::Command>(form->Add("Command", "cmdHello"));
    button->Move(240, 720, 1815, 465);                   // 121 x 31 pixels: buttons keep odd pixel sizes
    button->SetCaption("&Say hello");
    button->SetSoftButton(true);
    button->Connect("Click", [&](std::span<host::Variant>) { label->SetCaption("Hello!"); });
    host::SaveFormFile(*form, "hello.json");              // the same form as a file
    form->Show();
    return host::Run();                                   // live with a display, else headless
}
