// The gallery's main form: loaded from its form file (forms/gallery.json) through the host, so
// every look on it has gone through persistence, then wired to C++ handlers that keep a status
// line of the events as the controls raise them.
#pragma once

#include <memory>
#include <string>

#include "platform/host/form.h"

namespace brimlox::gallery {

// The folder of the form files in the source tree (set at build time).
std::string DefaultFormsDir();

// Loads frmGallery from `formsDir`/gallery.json and connects its handlers. Throws the host's
// FormFileError for a bad file and HostError when a control the wiring needs is missing.
std::shared_ptr<host::Form> OpenGalleryForm(const std::string& formsDir);

// The centre of a control of `form` in screen pixels (for scripted tours).
POINT ScreenCentre(const host::Form& form, const std::string& control);

// A point of `form`'s client area (pixels from its top left) in screen pixels.
POINT FormPoint(const host::Form& form, int x, int y);

}  // namespace brimlox::gallery
