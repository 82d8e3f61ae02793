// A form loaded from a form file, with handlers connected to its controls by name. The file
// (volume.json beside this source) holds a label, a scroll bar and a button; usage:
//     brimlox-example-form-file [FORM.json]
#include <cstdio>
#include <string>

#include "controls/library.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/host/runtime.h"
#include "platform/host/type_info.h"

#ifndef EXAMPLE_FORM_FILE
#define EXAMPLE_FORM_FILE "volume.json"
#endif

using namespace brimlox;

int main(int argc, char** argv) {
    controls::RegisterLibrary();
    const std::string path = argc > 1 ? argv[1] : EXAMPLE_FORM_FILE;
    std::shared_ptr<host::Form> form;
    try {
        form = host::LoadFormFile(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    // The program knows its controls only by name; properties go through late-bound calls,
    // as they would for a control type this program was never compiled against.
    // The form owns its controls; handlers point at them without owning them, so no control
    // keeps itself alive through its own handler once the form goes.
    host::Control* label = form->Find("lblVolume").get();
    host::Control* bar = form->Find("hsbVolume").get();
    host::Control* reset = form->Find("cmdReset").get();
    if (!label || !bar || !reset) {
        std::fprintf(stderr, "%s: expected lblVolume, hsbVolume and cmdReset\n", path.c_str());
        return 2;
    }
    auto show = [=] {
        host::LetProperty(*label, "Caption", "Volume: " + host::GetProperty(*bar, "Value").ToString());
    };
    bar->Connect("Change", [=](std::span<host::Variant>) { show(); });
    reset->Connect("Click", [=](std::span<host::Variant>) {
        host::LetProperty(*bar, "Value", std::int32_t{0});
        show();
    });

    show();
    std::printf("%s\n", host::GetProperty(*label, "Caption").ToString().c_str());
    reset->RaiseEvent("Click");
    std::printf("%s\n", host::GetProperty(*label, "Caption").ToString().c_str());
    form->Show();
    return host::Run();
}
