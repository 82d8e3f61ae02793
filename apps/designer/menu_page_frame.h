// MenuPageFrame: the host's frame around the Menu property page, as the designer and
// `brimlox menu-edit` show it: the page on a fixed dialog form with OK, Cancel and Apply under
// it. Applying writes the page to the control, then calls the applied handler (which saves
// the form file, or records an undo step); a handler that returns false keeps the page open
// and Apply enabled. OK applies a changed page and closes; Cancel closes without applying.
#pragma once

#include <functional>
#include <memory>

#include "menus/editor/menu_page.h"
#include "platform/host/form.h"
#include "platform/host/standard_controls.h"

namespace brimlox::designer {

class MenuPageFrame {
public:
    // The page below the button row.
    static constexpr int kButtonBandPx = 40;

    MenuPageFrame(std::shared_ptr<host::Control> control, std::function<bool()> onApplied);
    ~MenuPageFrame();
    MenuPageFrame(const MenuPageFrame&) = delete;
    MenuPageFrame& operator=(const MenuPageFrame&) = delete;

    host::Form& Form() { return *form_; }
    menus::MenuPage& Page() { return *page_; }
    // Writes the page to the control and calls the applied handler; false when it failed.
    bool Apply();
    // Whether the frame's form is still open.
    bool Open() const { return form_ && !form_->Unloaded(); }

private:
    std::shared_ptr<host::CommandButton> Button(const char* name, const char* caption, int x);
    void AddButtons();
    void SizeToPage();

    std::shared_ptr<host::Control> control_;
    std::function<bool()> onApplied_;
    std::shared_ptr<host::Form> form_;
    std::unique_ptr<menus::MenuPage> page_;
    std::shared_ptr<host::CommandButton> apply_;
};

}  // namespace brimlox::designer
