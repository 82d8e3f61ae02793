#include "foundation/helpers/naming.h"

#include "platform/host/control.h"
#include "platform/host/form.h"
#include "platform/host/picture.h"

namespace brimlox::foundation {

bool HasPicture(const std::shared_ptr<host::StdPicture>& picture) { return picture && picture->Handle() != 0; }

std::string UniqueName(const std::string& base, const host::Control& extender) {
    const host::Form* form = extender.ParentForm();
    if (!form) return base;
    const auto& controls = form->Controls();
    std::string candidate = base;
    int counter = 0;
    // Each clash moves to the next number and starts the walk again, so a later control
    // bearing an earlier candidate is still found.
    for (std::size_t i = 0; i < controls.size();) {
        // The control's own (provisional) name does not take a name away from it.
        if (controls[i] && controls[i].get() != &extender && controls[i]->Name() == candidate) {
            candidate = base + std::to_string(++counter);
            i = 0;
        } else {
            ++i;
        }
    }
    return candidate;
}

}  // namespace brimlox::foundation
