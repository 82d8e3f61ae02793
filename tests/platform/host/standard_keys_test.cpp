// The host's standard controls and the keyboard: TextBox, ListBox, CheckBox and CommandButton
// take part in the tab order, show the focus the Windows way (a caret; dotted frames only with
// the focus cue) and take their keys; Enter presses a focused button.
#include "host_test.h"

#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/keyboard.h"
#include "platform/host/standard_controls.h"

namespace brimlox::test {
namespace {

using namespace brimlox::host;
using Texts = std::vector<std::string>;

class StandardKeysTest : public HostTest {
protected:
    void TearDown() override {
        if (form && !form->Unloaded()) form->Unload();
        form.reset();
        HostTest::TearDown();
    }
    template <typename T>
    std::shared_ptr<T> Place(const std::string& type, const std::string& name, int x, int y, int w, int h) {
        auto c = std::static_pointer_cast<T>(form->Add(type, name));
        c->Move(x * 15, y * 15, w * 15, h * 15);
        return c;
    }
    void Keys(const std::string& text) {
        desktop::InputScript parsed;
        std::string error;
        ASSERT_TRUE(desktop::ParseInputScript(text, parsed, error)) << error;
        const std::uint64_t now = desktop::Desktop::Instance().Now();
        for (auto& e : parsed.events) e.timeMs += now;
        desktop::Desktop::Instance().SetInputSource(
            std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + now));
        host::Run();
    }
    std::string Focused() const {
        for (const auto& c : form->Controls())
            if (HasFocus(*c)) return c->Name();
        return GetFocus() == form->hWnd() ? "form" : "?";
    }
    // The control's own pixels, to compare before and after.
    static std::vector<COLORREF> Pixels(Control& c) {
        DoEvents();
        RECT r{};
        GetClientRect(c.hWnd(), &r);
        std::vector<COLORREF> out;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) out.push_back(GetPixel(c.hDC(), x, y));
        return out;
    }

    std::shared_ptr<Form> form;
};

TEST_F(StandardKeysTest, StandardControlsTakeTheTabOrderShowTheFocusAndTakeTheirKeys) {
    form = Form::Create("frmStandard");
    form->SetBorderStyle(0);
    form->Move(0, 0, 300 * 15, 220 * 15);
    Place<Control>("Label", "lblCaption", 120, 10, 100, 20);
    auto text = Place<TextBox>("TextBox", "txtName", 10, 10, 100, 24);
    auto list = Place<ListBox>("ListBox", "lstItems", 10, 40, 100, 64);
    auto check = Place<CheckBox>("CheckBox", "chkOn", 10, 110, 100, 20);
    auto button = Place<CommandButton>("CommandButton", "cmdGo", 10, 140, 75, 25);
    for (const char* item : {"a", "b", "c", "d"}) list->AddItem(item);
    text->SetText("");
    Texts events;
    text->Connect("Change", [&](std::span<Variant>) { events.push_back("Change " + text->Text()); });
    list->Connect("Click", [&](std::span<Variant>) { events.push_back("List " + list->Text()); });
    check->Connect("Click", [&](std::span<Variant>) { events.push_back("Check " + std::to_string(check->Value())); });
    button->Connect("Click", [&](std::span<Variant>) { events.push_back("Go"); });
    form->Show();
    Texts order;
    for (Control* c : TabOrder(*form)) order.push_back(c->Name());
    EXPECT_EQ(order, (Texts{"txtName", "lstItems", "chkOn", "cmdGo"}));

    // Focus given by code while the cues are hidden: the list shows no frame.
    const auto listPlain = Pixels(*list), checkPlain = Pixels(*check), buttonPlain = Pixels(*button);
    const auto textPlain = Pixels(*text);
    ASSERT_TRUE(SetFocus(*list));
    EXPECT_EQ(Pixels(*list), listPlain);

    // Tab round: the text box shows its caret and takes typing.
    Keys("key down VK_SHIFT\nkey press VK_TAB\nkey up VK_SHIFT\n");
    EXPECT_EQ(Focused(), "txtName");
    EXPECT_NE(Pixels(*text), textPlain) << "the caret";
    Keys("key press H\nkey press I\nkey press VK_BACK\nkey press VK_RETURN\n");
    EXPECT_EQ(text->Text(), "h");
    EXPECT_EQ(events, (Texts{"Change h", "Change hi", "Change h"}));

    // The list: a frame round its first line before anything is chosen, then the arrows,
    // End and Home move the selection, each with a Click; the frame follows.
    Keys("key press VK_TAB\n");
    EXPECT_EQ(Focused(), "lstItems");
    text->SetText("");
    EXPECT_EQ(Pixels(*text), textPlain) << "the caret went with the focus";
    events.clear();
    RECT client{};
    GetClientRect(list->hWnd(), &client);
    TEXTMETRICA tm{};
    GetTextMetricsA(list->hDC(), &tm);
    EXPECT_EQ(GetPixel(list->hDC(), client.right - 1, 0), ~GetSysColor(COLOR_WINDOW) & 0xFFFFFFu) << "the frame's first dot";
    Keys("key press VK_DOWN\nkey press VK_DOWN\nkey press VK_END\nkey press VK_UP\nkey press VK_HOME\nkey press VK_UP\n");
    EXPECT_EQ(events, (Texts{"List a", "List b", "List d", "List c", "List a"}));
    Keys("key press VK_DOWN\n");
    EXPECT_EQ(GetPixel(list->hDC(), client.right - 1, tm.tmHeight), ~GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFFu);
    EXPECT_EQ(GetPixel(list->hDC(), client.right - 1, 0), GetSysColor(COLOR_WINDOW)) << "no frame on line a";

    // The check box: a frame round its caption; Space toggles on its release.
    events.clear();
    Keys("key press VK_TAB\n");
    EXPECT_EQ(Focused(), "chkOn");
    EXPECT_NE(Pixels(*check), checkPlain);
    Keys("key down VK_SPACE\n");
    EXPECT_TRUE(events.empty());
    Keys("key up VK_SPACE\nkey press VK_SPACE\n");
    EXPECT_EQ(events, (Texts{"Check 1", "Check 0"}));

    // The button: pressed while Space is down, clicked on its release; Enter clicks at once.
    events.clear();
    Keys("key press VK_TAB\nkey down VK_SPACE\n");
    EXPECT_EQ(Focused(), "cmdGo");
    EXPECT_TRUE(events.empty());
    Keys("key up VK_SPACE\nkey press VK_RETURN\n");
    EXPECT_EQ(events, (Texts{"Go", "Go"}));
    Keys("key press VK_TAB\n");
    EXPECT_EQ(Focused(), "txtName") << "the round wraps";
    EXPECT_EQ(Pixels(*button), buttonPlain) << "the frame went with the focus";

    // A press by Space that loses the focus comes up without a click.
    events.clear();
    ASSERT_TRUE(SetFocus(*button));
    Keys("key down VK_SPACE\nkey press VK_TAB\nkey up VK_SPACE\n");
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(Focused(), "txtName");
}

}  // namespace
}  // namespace brimlox::test
