// The gallery's scenes: each draws one aspect of the platform onto a DC of a fixed size.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

namespace brimlox::gallery {

struct Scene {
    std::string name;
    std::string caption;
    int width;
    int height;
    std::function<void(HDC dc, int width, int height)> draw;
};

std::vector<Scene> Scenes();

// The scene of one control, each in its own file.
Scene ScrollBarScene();

}  // namespace brimlox::gallery
