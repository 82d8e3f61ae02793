// The gallery form driven by the keyboard alone: Tab visits every control a user can operate,
// once a round and in tab order; Space clicks the focused button and the arrow keys move the
// focused scroll bar.
#include <gtest/gtest.h>

#include "controls/command/command_test.h"
#include "controls/scrollbar/scrollbar.h"
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

    // Space on a plain button clicks it; Right on a scroll bar moves it.
    auto plain = std::static_pointer_cast<controls::Command>(form->Find("cmdPlain"));
    int clicks = 0;
    plain->Connect("Click", [&](std::span<host::Variant>) { ++clicks; });
    ASSERT_TRUE(host::SetFocus(*plain));
    Script("key press VK_SPACE\n");
    host::Run();
    EXPECT_EQ(clicks, 1);
    auto red = std::static_pointer_cast<controls::ScrollBar>(form->Find("sbrRed"));
    const std::int32_t before = red->Value();
    ASSERT_TRUE(host::SetFocus(*red));
    Script("key press VK_LEFT\n");
    host::Run();
    EXPECT_EQ(red->Value(), before - red->SmallChange());
}

}  // namespace
}  // namespace brimlox::test
