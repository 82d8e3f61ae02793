// Copy and Paste between two design windows of one process through the clipboard, and the
// clipboard text that another program left there.
#include <cstring>

#include "apps/designer/clipboard_text.h"
#include "apps/designer/design_document.h"
#include "platform/host/host_test.h"
#include "platform/user/clipboard.h"

namespace brimlox::test {
namespace {

using namespace brimlox::designer;
using DesignClipboardTest = HostTest;

const char* const kForm = R"({"format": "brimlox-form", "version": 2,
    "form": {"Name": "frmA", "Left": 0, "Top": 0, "Width": 4800, "Height": 3600},
    "controls": [{"type": "Probe", "name": "prbCopied", "extender": {"Left": 300, "Top": 450, "Width": 900, "Height": 300},
                  "bag": {"Caption": "across"}}]})";

TEST_F(DesignClipboardTest, FragmentGoesFromOneDesignWindowToAnother) {
    auto first = DesignDocument::FromText(kForm, "a.json");
    auto second = DesignDocument::FromText(kForm, "b.json");
    EXPECT_FALSE(ClipboardHasFragment());
    const std::string fragment = first->CopyText(std::vector{first->Form().Find("prbCopied")});
    ASSERT_TRUE(PutFragmentOnClipboard(first->Form().hWnd(), fragment));
    EXPECT_TRUE(ClipboardHasFragment());
    EXPECT_EQ(GetClipboardOwner(), first->Form().hWnd());

    auto text = ClipboardText(second->Form().hWnd());
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, fragment);
    auto pasted = second->Paste(*text, nullptr);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0]->Name(), "prbCopied1");
    EXPECT_EQ(pasted[0]->Left(), 300);
    EXPECT_EQ(std::dynamic_pointer_cast<Probe>(pasted[0])->Caption(), "across");

    // While another window has the clipboard open, nothing is put or read.
    ASSERT_TRUE(OpenClipboard(first->Form().hWnd()));
    EXPECT_FALSE(PutFragmentOnClipboard(second->Form().hWnd(), "{}"));
    EXPECT_FALSE(ClipboardText(second->Form().hWnd()));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(ClipboardText(second->Form().hWnd()), fragment);
}

TEST_F(DesignClipboardTest, PlainTextIsReadUpToTheEndOfItsBlock) {
    // Another program's text, not terminated within its block.
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(mem), "abcd", 4);
    GlobalUnlock(mem);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    ASSERT_EQ(SetClipboardData(CF_TEXT, mem), mem);
    CloseClipboard();
    EXPECT_FALSE(ClipboardHasFragment());
    EXPECT_EQ(ClipboardText(nullptr), "abcd");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(ClipboardText(nullptr));
}

}  // namespace
}  // namespace brimlox::test
