// Fuzzes the form-file reader and the bag checks: any bytes must load (and be checked) or be
// refused with a FormFileError, and a refused file must leave no window behind.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "controls/library.h"
#include "platform/host/bag_check.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/user/user.h"

// The library's control types, so that files naming them load as far as their bags.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    brimlox::controls::RegisterLibrary();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brimlox::host;
    std::size_t windows = brimlox::user::LiveWindowCount();
    try {
        std::vector<LoadedBag> bags;
        auto form = LoadFormText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json", false, &bags);
        // The checks of `brimlox check` run on whatever loads.
        for (const auto& b : bags)
            if (b.control) (void)CheckBag(*b.control, b.bag);
        // What loads must save and load again.
        std::string saved = SaveFormText(*form);
        form->Discard();
        auto again = LoadFormText(saved, "resaved.json");
        again->Discard();
    } catch (const FormFileError&) {
    }
    if (brimlox::user::LiveWindowCount() != windows) std::abort();
    return 0;
}
