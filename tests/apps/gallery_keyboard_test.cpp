// The gallery form driven by the keyboard alone: Tab visits every control a user can operate,
// once a round and in tab order; reached by Tab, Space and Enter click the focused button, the
// arrow keys move the focused scroll bar and the splitters' gaps, and Escape undoes a gap's move.
#include <gtest/gtest.h>

#include "controls/command/command_test.h"
#include "controls/scrollbar/scrollbar.h"
#include "controls/splitwindow/splitwindow.h"
#include "platform/host/form_file.h"
#include "platform/host/keyboard.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

using GalleryKeyboardTest = CommandTest;

host::Control* Focused(host::Form& form) {
    for (const auto& c : form.Controls())
        if (host::HasFocus(*c)) return c.get();
    return nullptr;
}

TEST_F(GalleryKeyboardTest, TabVisitsEveryOperableControlAndKeysWorkThem) {
    form = host::LoadFormFile(SourceDir() + "/forms/gallery.json");
    form->Move(0, 0, form->Width(), form->Height());
    form->Show();
    host::DoEvents();
    std::vector<std::string> expected;
    for (host::Control* c : host::TabOrder(*form)) expected.push_back(c->Name());
    ASSERT_GT(expected.size(), 20u);

    std::vector<std::string> visited;
    for (std::size_t i = 0; i < expected.size() + 1; ++i) {
        Script("key press VK_TAB\n");
        host::Run();
        host::Control* now = Focused(*form);
        ASSERT_NE(now, nullptr) << "after " << i + 1 << " Tabs";
        visited.push_back(now->Name());
    }
    EXPECT_EQ(visited.front(), visited.back()) << "the round wraps";
    visited.pop_back();
    EXPECT_EQ(visited, expected);
    bool sawCommand = false, sawBar = false;
    for (const auto& name : visited) {
        auto c = form->Find(name);
        sawCommand |= c->TypeName() == "Command";
        sawBar |= c->TypeName() == "ScrollBar";
        EXPECT_TRUE(c->Enabled()) << name;
    }
    EXPECT_TRUE(sawCommand && sawBar);

    // From here on only keys: Tab to a control, then its keys.
    auto focusedName = [&] {
        host::Control* c = Focused(*form);
        return c ? c->Name() : std::string();
    };
    auto tabTo = [&](const std::string& name) {
        for (std::size_t i = 0; i < expected.size() && focusedName() != name; ++i) {
            Script("key press VK_TAB\n");
            host::Run();
        }
        return focusedName() == name;
    };
    auto count = [&](const std::string& name, const char* event) {
        auto n = std::make_shared<int>(0);
        form->Find(name)->Connect(event, [n](std::span<host::Variant>) { ++*n; });
        return n;
    };

    // Space and Enter on a plain button click it (not the default button).
    auto plainClicks = count("cmdPlain", "Click"), okClicks = count("cmdOK", "Click");
    ASSERT_TRUE(tabTo("cmdPlain"));
    Script("key press VK_SPACE\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_EQ(*plainClicks, 2);
    EXPECT_EQ(*okClicks, 0);

    // Left on a scroll bar moves it by a small change.
    auto red = std::static_pointer_cast<controls::ScrollBar>(form->Find("sbrRed"));
    const std::int32_t before = red->Value();
    ASSERT_TRUE(tabTo("sbrRed"));
    Script("key press VK_LEFT\n");
    host::Run();
    EXPECT_EQ(red->Value(), before - red->SmallChange());

    // Right moves the side-by-side splitter's first gap: the outline pane grows, the middle
    // one shrinks, Changed comes once; Escape puts it back.
    auto panes = std::static_pointer_cast<controls::SplitWindow>(form->Find("splPanes"));
    auto outline = form->Find("picOutline"), detail = form->Find("splDetail");
    const std::int32_t outlineWidth = outline->Width(), detailLeft = detail->Left();
    auto changes = count("splPanes", "Changed");
    ASSERT_TRUE(tabTo("splPanes"));
    Script("key press VK_RIGHT\nkey press VK_RIGHT\n");
    host::Run();
    EXPECT_EQ(outline->Width(), outlineWidth + 16 * 15);
    EXPECT_EQ(detail->Left(), detailLeft + 16 * 15);
    EXPECT_EQ(*changes, 2);
    Script("key press VK_ESCAPE\n");
    host::Run();
    EXPECT_EQ(outline->Width(), outlineWidth);
    EXPECT_EQ(*changes, 3);
    // The stacked splitter inside it takes Down; End takes its gap to the limit.
    auto preview = form->Find("picPreview");
    const std::int32_t previewHeight = preview->Height();
    ASSERT_TRUE(tabTo("splDetail"));
    Script("key press VK_DOWN\n");
    host::Run();
    EXPECT_EQ(preview->Height(), previewHeight + 8 * 15);
    Script("key press VK_END\nkey press VK_RETURN\n");
    host::Run();
    EXPECT_GT(preview->Height(), previewHeight + 8 * 15);
    EXPECT_EQ(*okClicks, 0) << "Enter ended the move";
}

}  // namespace
}  // namespace brimlox::test
