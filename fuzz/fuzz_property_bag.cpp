// Fuzzes the property-bag reader of form files: any JSON is either accepted or refused with
// a FormFileError; an accepted bag writes out and reads back to the same JSON.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/host/property_bag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using brimlox::host::OrderedJson;
    using brimlox::host::PropertyBag;
    OrderedJson j = OrderedJson::parse(data, data + size, nullptr, false);
    if (j.is_discarded()) return 0;
    try {
        PropertyBag bag = PropertyBag::FromJson(j);
        OrderedJson out = bag.ToJson();
        if (PropertyBag::FromJson(out).ToJson() != out) std::abort();
    } catch (const brimlox::host::FormFileError&) {
    }
    return 0;
}
