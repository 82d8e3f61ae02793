// The gallery's DreamBar page: its own form (forms/dreambars.json) with an auto-hiding top bar
// holding tool windows as bands, a left accordion of three bars, a bar on the right whose
// caption reads upwards, and a bar with a wrapped message; a status line shows what the bars
// report. The main gallery form has no room left for them.
#pragma once

#include <memory>
#include <string>

#include "apps/brimlox-gallery/gallery_tour.h"
#include "platform/host/form.h"

namespace brimlox::gallery {

// Loads frmDreamBars from `formsDir`/dreambars.json and connects its handlers. Throws the
// host's FormFileError for a bad file and HostError when a control the wiring needs is missing.
std::shared_ptr<host::Form> OpenDreamBarPage(const std::string& formsDir);

// The headless tour of the page: the top bar shown under the mouse and hidden again, the
// accordion opening another bar, the right bar minimised to its upright caption strip.
Tour DreamBarTour(const host::Form& form);

}  // namespace brimlox::gallery
