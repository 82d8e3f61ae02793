// AltDragWatch: the keyboard watch that runs while the user drags a control with Alt and the
// left mouse button. Every control with an Alt-drag (Command, Divider ...) holds one for the
// length of its drag, so the Escape key that cancels a drag is seen the same way everywhere.
//
// One Escape flag serves the whole UI thread, as only one drag can run at a time: a new watch
// clears it, and the thread keyboard hook behind each watch sets it when Escape passes.
#pragma once

#include "platform/gdi/wintypes.h"

namespace brimlox::controls {

class AltDragWatch {
public:
    // Installs the thread keyboard hook and clears the Escape flag.
    AltDragWatch();
    // Removes the hook.
    ~AltDragWatch();
    AltDragWatch(const AltDragWatch&) = delete;
    AltDragWatch& operator=(const AltDragWatch&) = delete;

    // Whether the hook could be installed.
    bool Installed() const { return hook_ != nullptr; }

private:
    HHOOK hook_ = nullptr;
};

// Whether an Escape key passed a watch since the last drag began (shared by every control).
bool EscapePressed();

}  // namespace brimlox::controls
