// The tour that the headless gallery takes of its main form: an input script that points at,
// clicks, holds and keys the controls, with a screenshot after each step and the caption the
// index shows under it.
#pragma once

#include <string>
#include <vector>

#include "platform/host/form.h"

namespace brimlox::gallery {

struct TourShot {
    std::string name;
    std::string caption;
};

struct Tour {
    std::string script;  // in the input-script format (docs/input-script.md)
    std::vector<TourShot> shots;
};

// Builds the tour from where the controls of the shown form are on the screen.
Tour GalleryTour(const host::Form& form);

}  // namespace brimlox::gallery
