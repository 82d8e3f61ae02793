// Form files: a form and its controls as human-readable JSON (docs/form-file-format.md). Saving
// goes through each control's WriteProperties; loading validates the whole file first, then
// re-creates the form through each control's Initialize and ReadProperties. A bad file is
// refused with a FormFileError naming the file, the control and the property; nothing of it is
// left created.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/host/property_bag.h"

namespace brimlox::host {

class Form;

// The most controls a form file may hold; the window table has room for a window for each.
inline constexpr std::size_t kMaxFormControls = 100000;

OrderedJson SaveFormJson(Form& form);
std::string SaveFormText(Form& form);
// Writes atomically (a temporary file renamed over the old one).
void SaveFormFile(Form& form, const std::string& path);

// `source` names the file in error messages.
std::shared_ptr<Form> LoadFormJson(const OrderedJson& json, const std::string& source, bool designMode = false);
std::shared_ptr<Form> LoadFormText(std::string_view text, const std::string& source, bool designMode = false);
std::shared_ptr<Form> LoadFormFile(const std::string& path, bool designMode = false);

}  // namespace brimlox::host
