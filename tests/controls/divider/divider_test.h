// Test support for the Divider: a borderless form at the screen's origin (form pixels are
// screen pixels), dividers placed in pixels, a tool-bar container that stands in for the
// SplitWindow the divider is made for, pictures made in memory, and scripted input on the
// host's event loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/divider/divider.h"
#include "platform/host/host_test.h"

namespace brimlox::test {

// A container that answers to the type name "SplitWindow" with the members the divider asks
// it for (Picture, BackColor, Transparent, Vertical, Refresh) and tiles its picture over its
// whole client area from its origin, as a tool bar does. It is registered as "ToolBarStandIn",
// so it never takes the place of the real control in the type registry.
class ToolBarStandIn : public host::Control {
public:
    std::string TypeName() const override { return "SplitWindow"; }
    const host::TypeInfo* GetTypeInfo() const override;
    bool IsContainer() const override { return true; }
    void Paint() override;

    std::shared_ptr<host::StdPicture> Picture() const { return host::Control::Picture(); }
    void SetPicture(std::shared_ptr<host::StdPicture> picture) { host::Control::SetPicture(std::move(picture)); }
    std::uint32_t BackColor() const { return host::Control::BackColor(); }
    void SetBackColor(std::uint32_t colour) { host::Control::SetBackColor(colour); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    bool Vertical() const { return vertical_; }
    void SetVertical(bool on) { vertical_ = on; }
    void RefreshBar() { ++refreshes_; host::Control::Refresh(); }

    int refreshes_ = 0;

private:
    bool transparent_ = false;
    bool vertical_ = false;
};

class DividerTest : public HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A visible borderless form of 400 x 300 pixels at the screen's origin.
    host::Form& MakeForm(bool designMode = false);
    // A divider at (x, y) pixels of its container, w x h pixels.
    std::shared_ptr<controls::Divider> AddDivider(int x, int y, int w, int h, host::Control* container = nullptr);
    std::shared_ptr<ToolBarStandIn> AddToolBar(int x, int y, int w, int h);
    // Installs an input script whose times count from now and runs the loop to its end.
    void Play(const std::string& script);
    // A pixel of a control's surface, once every pending paint has run.
    COLORREF PixelOf(host::Control& control, int x, int y);
    // GDI objects alive now.
    static std::size_t LiveGdiObjects();

    std::shared_ptr<host::Form> form;
};

// A bitmap picture whose every pixel has its own colour: red 10 x, green 10 y, blue 99.
std::shared_ptr<host::StdPicture> GridPicture(int width, int height);
inline COLORREF GridColour(long long x, long long y) { return RGB(10 * x, 10 * y, 99); }
// An icon picture of one colour, 16 x 16.
std::shared_ptr<host::StdPicture> SolidIcon(COLORREF colour);

}  // namespace brimlox::test
