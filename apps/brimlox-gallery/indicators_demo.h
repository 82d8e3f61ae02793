// The indicators part of the gallery form: its progress bars count up on a timer, and the
// rotated-text sample turns a fan of captions drawn with CLogFont into a HiddenBuffer, both
// classes created by name and driven late-bound as application code does.
#pragma once

#include "platform/host/form.h"

namespace brimlox::gallery {

// Starts the animation; it lives as long as the form's connections (until the form unloads).
// Throws HostError when a control it needs is missing.
void StartIndicatorDemo(host::Form& form);

}  // namespace brimlox::gallery
