// The property grid over a design document: it follows the selection (the form's own rows when
// nothing is selected), edits go through the document (typed into the editor and Enter, or
// Edit), a refused value shows the host's message and changes nothing, the rows follow
// property changes made elsewhere, and the "(Menu)" row hands the control to the menu editor.
#include <gtest/gtest.h>

#include "apps/designer/design_document.h"
#include "apps/designer/property_grid.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/host_test.h"
#include "platform/host/runtime.h"

namespace brimlox::test {
namespace {

using designer::DesignDocument;
using designer::PropertyGrid;
using host::Variant;

constexpr const char* kForm = R"({
  "format": "brimlox-form", "version": 2,
  "form": {"Name": "frmEdited", "Caption": "Edited", "Left": 0, "Top": 0, "Width": 4800, "Height": 3600},
  "controls": [
    {"type": "ScrollBar", "name": "hsbAmount", "extender": {"Left": 240, "Top": 660, "Width": 4000, "Height": 255},
     "bag": {"Max": 100, "Value": 25}},
    {"type": "Command", "name": "cmdReset", "extender": {"Left": 240, "Top": 1140, "Width": 1815, "Height": 465},
     "bag": {"Caption": "Reset"}}
  ]
})";

class PropertyGridDocumentTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        document = DesignDocument::FromText(kForm, "edited.json");
        gridForm = host::Form::Create("frmGrid");
        gridForm->SetBorderStyle(0);
        gridForm->Move(0, 0, 260 * 15, 340 * 15);
        grid = std::make_unique<PropertyGrid>(gridForm, RECT{0, 0, 260, 340}, *document);
        gridForm->Show();
        host::ClearMessageBoxLog();
    }
    void TearDown() override {
        grid.reset();
        if (gridForm && !gridForm->Unloaded()) gridForm->Unload();
        gridForm.reset();
        document.reset();
        host::ClearMessageBoxLog();
        HostTest::TearDown();
    }
    std::string Value(const std::string& name) const {
        for (const auto& row : grid->Rows())
            if (row.name == name) return row.value;
        return "<no row " + name + ">";
    }
    std::shared_ptr<host::Control> Control(const std::string& name) { return document->Form().Find(name); }
    void Play(const std::string& script) {
        desktop::InputScript parsed;
        std::string error;
        ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
        const std::uint64_t start = desktop::Desktop::Instance().Now();
        for (auto& e : parsed.events) e.timeMs += start;
        desktop::Desktop::Instance().SetInputSource(
            std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + start));
        host::Run();
        desktop::Desktop::Instance().SetInputSource(nullptr);
    }

    std::unique_ptr<DesignDocument> document;
    std::shared_ptr<host::Form> gridForm;
    std::unique_ptr<PropertyGrid> grid;
};

TEST_F(PropertyGridDocumentTest, TheGridFollowsTheSelectionAndEditsThroughTheDocument) {
    // Nothing selected: the form's own properties.
    EXPECT_EQ(Value("Name"), "frmEdited");
    EXPECT_EQ(Value("Caption"), "Edited");
    ASSERT_TRUE(grid->Edit("Caption", "Renamed"));
    EXPECT_EQ(document->Form().Caption(), "Renamed");

    // One control, then two: the rows follow the selection listener.
    auto bar = Control("hsbAmount"), button = Control("cmdReset");
    document->Select({bar});
    EXPECT_EQ(Value("Value"), "25");
    EXPECT_EQ(Value("Caption"), "<no row Caption>");
    document->Select({bar, button});
    EXPECT_EQ(Value("Max"), "<no row Max>");
    EXPECT_EQ(Value("Left"), "240");
    EXPECT_EQ(Value("Top"), "");
    // An edit of both applies to both.
    ASSERT_TRUE(grid->Edit("Left", "480"));
    EXPECT_EQ(bar->Left(), 480);
    EXPECT_EQ(button->Left(), 480);
    EXPECT_EQ(Value("Left"), "480");

    // Refused values: the host's message, nothing changed, false.
    document->Select({bar});
    EXPECT_FALSE(grid->Edit("Value", "101"));
    EXPECT_FALSE(grid->Edit("BorderStyle", "77"));
    EXPECT_FALSE(grid->Edit("Visible", "sometimes"));
    EXPECT_EQ(host::MessageBoxLog().size(), 3u);
    EXPECT_EQ(host::GetProperty(*bar, "Value").ToLong(), 25);
    EXPECT_EQ(Value("Value"), "25");
    // A change made elsewhere shows at once (the form's property-change notification).
    host::LetProperty(*bar, "Value", Variant(std::int32_t{40}));
    EXPECT_EQ(Value("Value"), "40");
    // A name already taken is refused by the form.
    EXPECT_FALSE(grid->Edit("Name", "cmdReset"));
    EXPECT_TRUE(grid->Edit("Name", "hsbVolume"));
    EXPECT_EQ(bar->Name(), "hsbVolume");
}

TEST_F(PropertyGridDocumentTest, TypingIntoTheEditorAndEnterSetsTheValueAndTheMenuRowOpensTheMenuEditor) {
    auto button = Control("cmdReset");
    document->Select({button});
    std::shared_ptr<host::Control> menuFor;
    grid->SetMenuEditorHandler([&](std::shared_ptr<host::Control> c) { menuFor = std::move(c); });
    auto& view = grid->View();
    auto& list = view.List();
    TEXTMETRICA tm{};
    GetTextMetricsA(list.hDC(), &tm);
    auto clickLine = [&](const std::string& startsWith) {
        for (std::int32_t i = 0; i < list.ListCount(); ++i)
            if (list.List(i).rfind(startsWith, 0) == 0) {
                list.SetTopIndex(i);
                RECT r{};
                GetWindowRect(list.hWnd(), &r);
                const int y = r.top + (i - list.TopIndex()) * tm.tmHeight + tm.tmHeight / 2;
                return "wait 600ms\nmove " + std::to_string(r.left + 20) + " " + std::to_string(y) + "\nclick left\nwait 50ms\n";
            }
        ADD_FAILURE() << "no line " << startsWith;
        return std::string();
    };
    RECT editor{};
    GetWindowRect(view.Editor().hWnd(), &editor);
    const std::string clickEditor = "move " + std::to_string(editor.left + 10) + " " + std::to_string(editor.top + 8) +
                                    "\nclick left\nwait 50ms\n";
    std::string erase;
    for (int i = 0; i < 12; ++i) erase += "key press VK_BACK\n";
    Play(clickLine("Caption\t") + clickEditor + erase + "key press G\nkey press O\nkey press VK_RETURN\nwait 50ms\n");
    EXPECT_EQ(host::GetProperty(*button, "Caption").ToString(), "go");
    EXPECT_EQ(Value("Caption"), "go");
    EXPECT_EQ(document->Modified(), true);
    // A refused value typed in: the message, no change.
    Play(clickLine("ArrowType\t") + clickEditor + erase + "key press 7\nkey press 7\nkey press VK_RETURN\nwait 50ms\n");
    EXPECT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::GetProperty(*button, "ArrowType").ToLong(), 0);
    // The menu row.
    Play(clickLine("(Menu)"));
    EXPECT_EQ(menuFor, button);
    // Nothing selected again: the menu row goes with the control.
    document->Select({});
    EXPECT_NE(list.List(0).rfind("(Menu)", 0), 0u);
}

}  // namespace
}  // namespace brimlox::test
