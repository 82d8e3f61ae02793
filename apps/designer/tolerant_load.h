// Opening a form file in the designer even when the host's loader refuses it: each refused
// control record or value is left out and the file loaded again, so a hand-edited file with a
// misspelt type or a bad value still opens with everything else editable. Every part left out,
// and every warning the host's bag check gives, is listed as `brimlox check` words it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/form.h"
#include "platform/host/property_bag.h"

namespace brimlox::designer {

struct TolerantLoad {
    std::shared_ptr<host::Form> form;
    std::vector<std::string> problems;  // "FILE: path: problem (what was left out)", then warnings
};

// The most parts left out of one file; a file with more problems is refused as a whole.
inline constexpr int kMaxLeftOut = 100;

// Parses `text` as JSON; throws host::FormFileError naming `source` and the position of the
// syntax error.
host::OrderedJson ParseJsonText(std::string_view text, const std::string& source);

// Loads `json` as a design-mode form, leaving out what the loader refuses. Throws
// host::FormFileError when the text is not a form at all (not an object, a wrong format or
// version, no form part) or has more than kMaxLeftOut problems.
TolerantLoad LoadTolerantly(host::OrderedJson json, const std::string& source);

// A new, empty design-mode form for a file that does not exist yet: named after the file's
// stem when that is a valid name ("Form1" otherwise), with that name as its caption.
std::shared_ptr<host::Form> NewEmptyForm(const std::string& path);

}  // namespace brimlox::designer
