// Small helpers about host objects: whether a picture object holds a picture, and the first
// free name for a control newly placed on a form.
#pragma once

#include <memory>
#include <string>

namespace brimlox::host {
class Control;
class StdPicture;
}  // namespace brimlox::host

namespace brimlox::foundation {

// True when the picture object is set and its handle is not 0.
bool HasPicture(const std::shared_ptr<host::StdPicture>& picture);

// The first name made of `base` (then base1, base2 ...) that no control on the extender's
// form other than the extender itself bears (compared case-sensitively). A control that is not
// on a form gets the base.
std::string UniqueName(const std::string& base, const host::Control& extender);

}  // namespace brimlox::foundation
