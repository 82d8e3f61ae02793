// The design surface driven by real input on the event loop: selecting by click, Ctrl+click
// and band, moving and sizing by dragging with the grid, Escape, placing new controls, the
// arrow keys, and where the grab handles stand on the screen.
#include <memory>

#include "apps/designer/design_surface.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/control_registry.h"
#include "platform/host/runtime.h"
#include "platform/host/standard_controls.h"
#include "platform/host/host_test.h"

namespace brimlox::test {
namespace {

using designer::DesignDocument;
using designer::DesignSurface;
using Names = std::vector<std::string>;

// 400 x 300 pixels of client area at 15 twips a pixel. In pixels of the form's client area:
// cmdA (32,32)-(112,64), cmdB (160,32)-(240,64), fraBox (32,128)-(272,248) holding txtC at
// (16,24)-(96,48) of the frame.
constexpr const char* kForm = R"({
  "format": "brimlox-form", "version": 2,
  "form": {"Name": "frmDesign", "Caption": "Design", "Left": 0, "Top": 0, "Width": 6000, "Height": 4800},
  "controls": [
    {"type": "CommandButton", "name": "cmdA", "extender": {"Left": 480, "Top": 480, "Width": 1200, "Height": 480}},
    {"type": "CommandButton", "name": "cmdB", "extender": {"Left": 2400, "Top": 480, "Width": 1200, "Height": 480}},
    {"type": "Frame", "name": "fraBox", "extender": {"Left": 480, "Top": 1920, "Width": 3600, "Height": 1800}},
    {"type": "TextBox", "name": "txtC", "container": "fraBox",
     "extender": {"Left": 240, "Top": 360, "Width": 1200, "Height": 360}}
  ]
})";

class DesignSurfaceTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        document = DesignDocument::FromText(kForm, "design.json");
        document->Form().Show();
        surface = std::make_unique<DesignSurface>(*document);
        host::DoEvents();
    }
    void TearDown() override {
        surface.reset();
        document.reset();
        HostTest::TearDown();
    }
    host::Form& Form() { return document->Form(); }
    host::Control& Get(const std::string& name) { return *Form().Find(name); }
    // "move X Y" to a point of the form's client area.
    std::string At(int x, int y) {
        POINT p{x, y};
        ClientToScreen(Form().hWnd(), &p);
        return "move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
    }
    // Runs a script from now on the virtual clock, one event each 20 ms.
    void Input(const std::string& text) {
        desktop::InputScript parsed;
        std::string error;
        ASSERT_TRUE(desktop::ParseInputScript(text, parsed, error)) << error;
        const std::uint64_t now = desktop::Desktop::Instance().Now() + 1000;  // past double clicks
        std::uint64_t t = now;
        for (auto& e : parsed.events) e.timeMs = (t += 20);
        desktop::Desktop::Instance().SetInputSource(std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), t + 20));
        host::Run();
    }
    Names Selected() {
        Names out;
        for (const auto& c : document->Selection()) out.push_back(c->Name());
        return out;
    }
    RECT Twips(const std::string& name) {
        host::Control& c = Get(name);
        return RECT{c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height()};
    }
    COLORREF ScreenPixel(int x, int y) {
        host::DoEvents();
        POINT p{x, y};
        ClientToScreen(Form().hWnd(), &p);
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return c;
    }

    std::unique_ptr<DesignDocument> document;
    std::unique_ptr<DesignSurface> surface;
};

TEST_F(DesignSurfaceTest, ClicksCtrlClicksAndBandsSelectWhileTheControlsGetNoMouse) {
    int clicks = 0;
    Get("cmdA").Connect("Click", [&](auto) { ++clicks; });
    Input(At(50, 40) + "click left\n");
    EXPECT_EQ(Selected(), (Names{"cmdA"}));
    Input("key down VK_CONTROL\n" + At(200, 40) + "click left\n" + At(50, 40) + "click left\nkey up VK_CONTROL\n");
    EXPECT_EQ(Selected(), (Names{"cmdB"}));
    Input("key down VK_CONTROL\n" + At(50, 40) + "click left\nkey up VK_CONTROL\n");
    EXPECT_EQ(Selected(), (Names{"cmdB", "cmdA"}));
    Input(At(300, 100) + "click left\n");  // the empty form: the form
    EXPECT_EQ(Selected(), Names{});
    // A band from the empty form touching both buttons but not the frame, drawn as a dotted
    // XOR outline over the form that goes again with the release.
    const COLORREF back = ScreenPixel(20, 30);
    Input(At(20, 20) + "down left\n" + At(100, 50) + At(180, 60));
    int dots = 0;
    for (int y = 24; y < 34; ++y) dots += ScreenPixel(20, y) != back;
    EXPECT_EQ(dots, 5) << "every other pixel of the band's left edge";
    Input("up left\n");
    for (int y = 24; y < 34; ++y) EXPECT_EQ(ScreenPixel(20, y), back) << y;
    EXPECT_EQ(Selected(), (Names{"cmdA", "cmdB"}));
    // A click on the frame selects it; on the text box inside it, the text box.
    Input(At(200, 200) + "click left\n");
    EXPECT_EQ(Selected(), (Names{"fraBox"}));
    Input(At(70, 170) + "click left\n");
    EXPECT_EQ(Selected(), (Names{"txtC"}));
    // A drag that starts on the empty part of an unselected frame bands inside it only.
    Input(At(300, 100) + "click left\n");
    EXPECT_EQ(Selected(), Names{});
    Input(At(40, 140) + "down left\n" + At(150, 200) + "up left\n");
    EXPECT_EQ(Selected(), (Names{"txtC"}));
    EXPECT_EQ(clicks, 0);
}

TEST_F(DesignSurfaceTest, DraggingMovesTheSelectionLiveOnTheGridAndEscapePutsItBack) {
    Input(At(50, 40) + "down left\n" + At(53, 47));
    // 3 and 7 pixels are 45 and 105 twips: the left edge snaps back to 480, the top to 600.
    EXPECT_EQ(Twips("cmdA"), (RECT{480, 600, 1680, 1080}));
    Input(At(63, 43) + "up left\n");  // 13 and 3 pixels: 675 and 525 twips snap to 720 and 480
    EXPECT_EQ(Twips("cmdA"), (RECT{720, 480, 1920, 960}));
    EXPECT_EQ(document->UndoName(), "Move");
    EXPECT_EQ(ScreenPixel(45, 29), RGB(0, 0, 0)) << "the handles came back around the new place";
    EXPECT_NE(ScreenPixel(29, 29), RGB(0, 0, 0));
    // A second, cancelled drag of both buttons adds no step.
    Input("key down VK_CONTROL\n" + At(200, 40) + "click left\nkey up VK_CONTROL\n");
    Input(At(200, 40) + "down left\n" + At(260, 100) + At(280, 120));
    EXPECT_NE(Twips("cmdB"), (RECT{2400, 480, 3600, 960}));
    EXPECT_NE(Twips("cmdA"), (RECT{720, 480, 1920, 960}));
    Input("key press VK_ESCAPE\n" + At(300, 150) + "up left\n");
    EXPECT_EQ(Twips("cmdA"), (RECT{720, 480, 1920, 960}));
    EXPECT_EQ(Twips("cmdB"), (RECT{2400, 480, 3600, 960}));
    document->Undo();
    EXPECT_FALSE(document->CanUndo()) << "one drag, one step";
}

TEST_F(DesignSurfaceTest, HandlesStandAroundTheSelectionAndDraggingOneSizes) {
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    Input(At(50, 40) + "click left\n" + "key down VK_CONTROL\n" + At(200, 40) + "click left\nkey up VK_CONTROL\n");
    ASSERT_EQ(Selected(), (Names{"cmdA", "cmdB"}));
    // cmdA's solid handles, 6 x 6 pixels centred on its corners and edge middles.
    for (POINT p : {POINT{29, 29}, POINT{34, 34}, POINT{69, 29}, POINT{109, 45}, POINT{114, 66}, POINT{29, 61}})
        EXPECT_EQ(ScreenPixel(p.x, p.y), black) << p.x << "," << p.y;
    EXPECT_NE(ScreenPixel(35, 35), black);
    EXPECT_NE(ScreenPixel(28, 28), black);
    // cmdB's are hollow: a black frame round a white middle.
    EXPECT_EQ(ScreenPixel(157, 29), black);
    EXPECT_EQ(ScreenPixel(159, 31), white);
    // The bottom-right handle of cmdA, dragged 22 and 10 pixels: the right edge goes from
    // 1680 to 2010, snapped 2040; the bottom from 960 to 1110, snapped 1080. cmdB follows.
    Input(At(112, 64) + "down left\n" + At(120, 70) + At(134, 74) + "up left\n");
    EXPECT_EQ(Twips("cmdA"), (RECT{480, 480, 2040, 1080}));
    EXPECT_EQ(Twips("cmdB"), (RECT{2400, 480, 3960, 1080}));
    EXPECT_EQ(document->UndoName(), "Size");
    // The handles followed: the bottom-right one now stands at (136, 72) in pixels.
    EXPECT_EQ(ScreenPixel(133, 69), black);
    EXPECT_NE(ScreenPixel(109, 61), black);
    // One look at the form with its handles.
    RECT frame{};
    GetWindowRect(Form().hWnd(), &frame);
    Canvas shot(frame.right - frame.left, frame.bottom - frame.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.dc(), 0, 0, frame.right - frame.left, frame.bottom - frame.top, screen, frame.left, frame.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(MatchesGolden(shot.surface(), "apps/designer/design_surface_handles"));
    // A move made elsewhere (the property grid, code) brings the handles along.
    Get("cmdA").SetTop(1440);
    EXPECT_EQ(ScreenPixel(29, 93), black);
    EXPECT_NE(ScreenPixel(29, 29), black);
    // Escape in the middle of sizing puts both controls back and commits nothing.
    const RECT a = Twips("cmdA");
    const RECT b = Twips("cmdB");
    Input(At(136, 136) + "down left\n" + At(160, 150) + At(170, 160));
    EXPECT_NE(Twips("cmdA"), a);
    Input("key press VK_ESCAPE\n" + At(175, 165) + "up left\n");
    EXPECT_EQ(Twips("cmdA"), a);
    EXPECT_EQ(Twips("cmdB"), b);
    EXPECT_EQ(ScreenPixel(133, 133), black) << "the handle is back at the corner";
}

TEST_F(DesignSurfaceTest, PlacingDrawsANewControlIntoTheContainerUnderThePress) {
    int placed = 0;
    surface->SetPlacedHandler([&] { ++placed; });
    surface->SetPlacingType("CommandButton");
    // Dragged inside the frame, from (112,152) to (190,190): the frame's client area begins
    // inside its border, so the twips are snapped in the frame's own coordinates.
    Input(At(112, 152) + "down left\n" + At(150, 170) + At(190, 190) + "up left\n");
    ASSERT_EQ(document->Selection().size(), 1u);
    auto button = document->Selection().front();
    EXPECT_EQ(button->TypeName(), "CommandButton");
    EXPECT_EQ(button->ContainerControl(), &Get("fraBox"));
    RECT onFrame{112, 152, 190, 190};
    MapWindowPoints(Form().hWnd(), Get("fraBox").hWnd(), reinterpret_cast<POINT*>(&onFrame), 2);
    const auto snap = [](int px) { return (px * 15 + 60) / 120 * 120; };
    EXPECT_EQ(button->Left(), snap(onFrame.left));
    EXPECT_EQ(button->Width(), snap(onFrame.right) - snap(onFrame.left));
    EXPECT_EQ(placed, 1);
    EXPECT_EQ(surface->PlacingType(), "");
    // A click places the type at its default size on the form.
    surface->SetPlacingType("Command");
    Input(At(320, 40) + "click left\n");
    ASSERT_EQ(document->Selection().size(), 1u);
    auto command = document->Selection().front();
    EXPECT_EQ(command->TypeName(), "Command");
    EXPECT_EQ(command->ContainerControl(), nullptr);
    EXPECT_EQ(command->Left(), 4800);
    EXPECT_EQ(command->Top(), 600);
    auto plain = Form().Add("Command");  // what the host gives a new one
    EXPECT_EQ(command->Width(), plain->Width());
    EXPECT_EQ(command->Height(), plain->Height());
    Form().Remove(*plain);
    EXPECT_EQ(placed, 2);
}

TEST_F(DesignSurfaceTest, ArrowsMoveAndSizeEscapeClimbsAndDeleteRemoves) {
    Input(At(50, 40) + "click left\nkey press VK_RIGHT\n");
    EXPECT_EQ(Twips("cmdA"), (RECT{600, 480, 1800, 960}));
    EXPECT_EQ(document->UndoName(), "Move");
    Input("key down VK_CONTROL\nkey press VK_UP\nkey up VK_CONTROL\n");
    EXPECT_EQ(Twips("cmdA"), (RECT{600, 465, 1800, 945}));
    Input("key down VK_SHIFT\nkey press VK_DOWN\nkey press VK_LEFT\nkey up VK_SHIFT\n");
    EXPECT_EQ(Twips("cmdA"), (RECT{600, 465, 1680, 1065}));
    EXPECT_EQ(document->UndoName(), "Size");
    // Escape from the text box selects its frame, then the form.
    Input(At(70, 170) + "click left\nkey press VK_ESCAPE\n");
    EXPECT_EQ(Selected(), (Names{"fraBox"}));
    Input("key press VK_ESCAPE\n");
    EXPECT_EQ(Selected(), Names{});
    Input(At(50, 40) + "click left\nkey press VK_DELETE\n");
    EXPECT_EQ(Form().Find("cmdA"), nullptr);
    EXPECT_EQ(Selected(), Names{});
    EXPECT_NE(Form().Find("cmdB"), nullptr);
}

TEST_F(DesignSurfaceTest, ASurfaceGoneGivesTheFormItsOwnProcedureAndWindowsBack) {
    HWND form = Form().hWnd();
    surface.reset();
    const LONG_PTR own = GetWindowLongPtrA(form, GWLP_WNDPROC);
    const auto children = [&] {
        int n = 0;
        for (HWND h = GetWindow(form, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) ++n;
        return n;
    };
    const int controlsOnly = children();
    surface = std::make_unique<DesignSurface>(*document);
    EXPECT_NE(GetWindowLongPtrA(form, GWLP_WNDPROC), own);
    Input(At(50, 40) + "click left\n");
    EXPECT_EQ(Selected(), (Names{"cmdA"}));
    EXPECT_EQ(children(), controlsOnly + 8);  // cmdA's handles
    surface.reset();
    EXPECT_EQ(GetWindowLongPtrA(form, GWLP_WNDPROC), own);
    EXPECT_EQ(children(), controlsOnly);
    document->Select({});
    Input(At(200, 40) + "click left\n");  // nobody selects any more
    EXPECT_EQ(Selected(), Names{});
}

}  // namespace
}  // namespace brimlox::test
