// The clipboard: opening belongs to one window at a time, data set belongs to the clipboard
// (freed when emptied or replaced), reading needs the clipboard open, the old owner hears of
// emptying, and registered formats are shared by name.
#include <cstring>

#include "platform/user/clipboard.h"
#include "user_test.h"

namespace brimlox::test {
namespace {

using ClipboardTest = UserTest;

HGLOBAL TextBlock(const char* text) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::memcpy(GlobalLock(mem), text, std::strlen(text) + 1);
    GlobalUnlock(mem);
    return mem;
}

TEST_F(ClipboardTest, OpeningSettingAndReadingFollowWindows) {
    HWND a = MakeTopLevel("a", RECT{0, 0, 50, 50});
    HWND b = MakeTopLevel("b", RECT{60, 0, 110, 50});
    const std::size_t blocks = kernel::LiveGlobalBlocks();
    EXPECT_FALSE(CloseClipboard());
    EXPECT_FALSE(EmptyClipboard());
    HGLOBAL early = TextBlock("early");
    EXPECT_EQ(SetClipboardData(CF_TEXT, early), nullptr);  // not open: the block stays ours
    EXPECT_EQ(GlobalFree(early), nullptr);

    ASSERT_TRUE(OpenClipboard(a));
    EXPECT_TRUE(OpenClipboard(a));
    EXPECT_FALSE(OpenClipboard(b));
    EXPECT_EQ(GetOpenClipboardWindow(), a);
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), a);
    HGLOBAL first = TextBlock("first");
    EXPECT_EQ(SetClipboardData(CF_TEXT, first), first);
    // Setting the format again frees the block it held.
    HGLOBAL text = TextBlock("hello");
    EXPECT_EQ(SetClipboardData(CF_TEXT, text), text);
    EXPECT_EQ(GlobalSize(first), 0u);
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);  // closed

    // Another window reads what the first one set; the handle stays the clipboard's.
    ASSERT_TRUE(OpenClipboard(b));
    HANDLE got = GetClipboardData(CF_TEXT);
    ASSERT_EQ(got, text);
    EXPECT_STREQ(static_cast<char*>(GlobalLock(got)), "hello");
    GlobalUnlock(got);
    EXPECT_EQ(CountClipboardFormats(), 1);
    EXPECT_EQ(EnumClipboardFormats(0), CF_TEXT);
    EXPECT_EQ(EnumClipboardFormats(CF_TEXT), 0u);
    // Emptying frees the data and tells the old owner.
    MessageLog().clear();
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), b);
    const std::string destroy = "0x" + std::to_string(WM_DESTROYCLIPBOARD);
    EXPECT_EQ(Filtered(MessageLog(), {destroy}), std::vector<std::string>{"a:" + destroy});
    EXPECT_EQ(GlobalSize(text), 0u);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(kernel::LiveGlobalBlocks(), blocks);
    DestroyWindow(a);
    DestroyWindow(b);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
}

TEST_F(ClipboardTest, RegisteredFormatsAreSharedByNameAndResetFreesTheData) {
    const UINT mine = RegisterClipboardFormatA("Brimlox Fragment");
    EXPECT_GE(mine, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatA("brimlox fragment"), mine);
    EXPECT_NE(RegisterClipboardFormatA("Other"), mine);
    EXPECT_EQ(RegisterClipboardFormatA(""), 0u);

    const std::size_t blocks = kernel::LiveGlobalBlocks();
    // An opener without a window may set data; the clipboard then has no owner.
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_NE(SetClipboardData(mine, TextBlock("{}")), nullptr);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    int local = 0;
    EXPECT_EQ(SetClipboardData(CF_TEXT, &local), nullptr);  // no global block
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(mine));
    user::ResetClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(mine));
    EXPECT_EQ(kernel::LiveGlobalBlocks(), blocks);
}

}  // namespace
}  // namespace brimlox::test
