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
#include <vector>

#include "platform/host/property_bag.h"

namespace brimlox::host {

class Control;
class Form;

// The most controls a form file may hold; the window table has room for a window for each.
inline constexpr std::size_t kMaxFormControls = 100000;

OrderedJson SaveFormJson(Form& form);
std::string SaveFormText(Form& form);
// Writes atomically (a temporary file renamed over the old one).
void SaveFormFile(Form& form, const std::string& path);

// One control's bag as the loader read it: the control, the path of its record in the file
// ("controls[2](cmdOk)") and the bag, which knows which keys the control never read.
struct LoadedBag {
    std::shared_ptr<Control> control;
    std::string path;
    PropertyBag bag;
};

// `source` names the file in error messages. A value the control refuses while reading its
// bag is reported with its key. With `bags`, the bags read are handed back for checking.
std::shared_ptr<Form> LoadFormJson(const OrderedJson& json, const std::string& source, bool designMode = false,
                                   std::vector<LoadedBag>* bags = nullptr);
std::shared_ptr<Form> LoadFormText(std::string_view text, const std::string& source, bool designMode = false,
                                   std::vector<LoadedBag>* bags = nullptr);
// Puts the state `json` describes back into an existing form, keeping its window (and so its
// place on the screen and every handle to it): the file is checked as a whole first, and a
// refused file changes nothing. Then the form's controls are removed (each one's Terminate
// runs) and those of the file are created as LoadFormJson creates them, and the form takes the
// file's name, caption, rectangle and other properties. If a control refuses its values while
// loading, the form is left without controls and the error is thrown. A designer's undo uses it.
void ReloadFormJson(Form& form, const OrderedJson& json, const std::string& source,
                    std::vector<LoadedBag>* bags = nullptr);
std::shared_ptr<Form> LoadFormFile(const std::string& path, bool designMode = false,
                                   std::vector<LoadedBag>* bags = nullptr);

}  // namespace brimlox::host
