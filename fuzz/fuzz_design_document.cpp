// Fuzzes the designer's tolerant opening and its fragment paste: any bytes must open (with the
// bad parts left out) or be refused with a FormFileError; a document that opens must save text
// that opens again without problems; pasting the bytes as a fragment must add controls or be
// refused leaving the document as it was; and no window may be left behind.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "apps/designer/design_document.h"
#include "controls/library.h"
#include "platform/host/property_bag.h"
#include "platform/user/user.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    brimlox::controls::RegisterLibrary();
    return 0;
}

namespace {

using brimlox::designer::DesignDocument;

void OpenAndSaveAgain(std::string_view text) {
    try {
        auto doc = DesignDocument::FromText(text, "fuzz.json");
        auto again = DesignDocument::FromText(doc->Text(), "resaved.json");
        for (const auto& problem : again->Problems())
            if (problem.rfind("warning: ", 0) != 0) std::abort();
    } catch (const brimlox::host::FormFileError&) {
    }
}

void PasteIntoEmptyForm(std::string_view text) {
    auto doc = DesignDocument::FromText(
        R"({"format": "brimlox-form", "version": 2,
            "form": {"Name": "frmFuzz", "Left": 0, "Top": 0, "Width": 4800, "Height": 3600}, "controls": []})",
        "target.json");
    const std::string before = doc->Text();
    try {
        doc->Paste(text, nullptr);
    } catch (const brimlox::host::FormFileError&) {
        if (doc->Text() != before || doc->CanUndo()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t windows = brimlox::user::LiveWindowCount();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    OpenAndSaveAgain(text);
    PasteIntoEmptyForm(text);
    if (brimlox::user::LiveWindowCount() != windows) std::abort();
    return 0;
}
