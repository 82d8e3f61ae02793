// The keyboard on hosted forms: the tab order (defaults, renumbering, form files), Tab and
// Shift+Tab moving the focus past controls that cannot take it, keys reaching the focused
// control, and the focus ending somewhere sensible when things go away under it.
#include "host_test.h"

#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/host/form_file.h"
#include "platform/host/keyboard.h"

namespace brimlox::test {
namespace {

using namespace brimlox::host;

// A Probe that takes the focus and logs its keys and focus changes. Pressing M runs a modal
// loop (as a drag or a menu would) that ends with Escape.
class KeyProbe : public Probe, public KeyboardControl {
public:
    std::string TypeName() const override { return "KeyProbe"; }
    void KeyDown(int keyCode, int shift, bool repeat) override {
        Log("KeyDown " + std::to_string(keyCode) + (shift ? " shift " + std::to_string(shift) : "") + (repeat ? " repeat" : ""));
        if (keyCode == 'M') RunModalLoop();
    }
    void KeyUp(int keyCode, int) override { Log("KeyUp " + std::to_string(keyCode)); }
    void KeyPress(int keyAscii) override { Log("KeyPress " + std::to_string(keyAscii)); }
    void GotFocus() override { Log("GotFocus"); }
    void LostFocus() override { Log("LostFocus"); }

private:
    void Log(const std::string& what) { ProbeLog().push_back(Name() + ":" + what); }
    void RunModalLoop() {
        MSG msg;
        while (user::GetModalMessage(&msg)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Log("loop ended");
    }
};

class TabOrderTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        RegisterControlType("KeyProbe", [] { return std::make_shared<KeyProbe>(); });
        ProbeLog().clear();
    }
    void TearDown() override {
        for (auto& f : forms)
            if (!f->Unloaded()) f->Unload();
        forms.clear();
        HostTest::TearDown();
    }
    std::shared_ptr<Form> ShownForm(const std::string& name) {
        auto form = Form::Create(name);
        form->SetBorderStyle(0);
        form->Move(0, 0, 400 * 15, 300 * 15);
        form->Show();
        forms.push_back(form);
        return form;
    }
    std::shared_ptr<Control> Place(Form& form, const std::string& type, const std::string& name, int slot) {
        auto c = form.Add(type, name);
        c->Move(slot * 60 * 15, 10 * 15, 50 * 15, 30 * 15);
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
        // A form unloaded earlier in the test left its quit message; it is not this script's end.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        ProbeLog().clear();
        host::Run();
    }
    // The log without the paints.
    static std::vector<std::string> KeyLog() {
        std::vector<std::string> out;
        for (const auto& e : ProbeLog())
            if (!e.ends_with(":Paint")) out.push_back(e);
        return out;
    }
    // Only the focus changes of the log.
    static std::vector<std::string> FocusLog() {
        std::vector<std::string> out;
        for (const auto& e : ProbeLog())
            if (e.ends_with("Focus")) out.push_back(e);
        return out;
    }
    std::vector<std::shared_ptr<Form>> forms;
};

std::vector<std::string> Order(const Form& form) {
    std::vector<std::string> names;
    for (Control* c : TabOrder(form, true)) names.push_back(c->Name() + "=" + std::to_string(TabIndex(*c)));
    return names;
}

using Names = std::vector<std::string>;

TEST_F(TabOrderTest, PositionsFollowCreationRenumberAndSurviveAFormFile) {
    auto form = Form::Create("frmTabs");
    forms.push_back(form);
    auto a = form->Add("KeyProbe", "kpA");
    auto b = form->Add("KeyProbe", "kpB");
    auto c = form->Add("KeyProbe", "kpC");
    auto d = form->Add("Probe", "prbD");
    EXPECT_EQ(Order(*form), (Names{"kpA=0", "kpB=1", "kpC=2", "prbD=3"}));
    // Through late binding, as code sets it: the others shift to make room.
    LetProperty(*c, "TabIndex", Variant(std::int16_t{0}));
    EXPECT_EQ(Order(*form), (Names{"kpC=0", "kpA=1", "kpB=2", "prbD=3"}));
    SetTabIndex(*a, 99);  // past the end: the last place
    EXPECT_EQ(Order(*form), (Names{"kpC=0", "kpB=1", "prbD=2", "kpA=3"}));
    try {
        SetTabIndex(*a, -1);
        ADD_FAILURE() << "a negative TabIndex was taken";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    LetProperty(*b, "TabStop", Variant(false));
    EXPECT_FALSE(GetProperty(*b, "TabStop").ToBool());

    // Only what differs from the defaults is written; loading gives the same order back.
    OrderedJson saved = SaveFormJson(*form);
    const auto& controls = saved["controls"];
    EXPECT_EQ(controls[0]["extender"]["TabIndex"], 3);
    EXPECT_FALSE(controls[1]["extender"].contains("TabIndex"));
    EXPECT_EQ(controls[1]["extender"]["TabStop"], false);
    EXPECT_FALSE(controls[0]["extender"].contains("TabStop"));
    auto loaded = LoadFormJson(saved, "tabs.json");
    forms.push_back(loaded);
    EXPECT_EQ(Order(*loaded), (Names{"kpC=0", "kpB=1", "prbD=2", "kpA=3"}));
    EXPECT_FALSE(TabStop(*loaded->Find("kpB")));
    EXPECT_EQ(SaveFormJson(*loaded), saved);

    // Controls that go leave no gap.
    form->Remove(*c);
    EXPECT_EQ(Order(*form), (Names{"kpB=0", "prbD=1", "kpA=2"}));

    // Bad positions in a file are refused, naming the control and the clash.
    auto refused = [&](OrderedJson bad) -> std::string {
        try {
            LoadFormJson(bad, "bad.json");
        } catch (const FormFileError& e) {
            return e.what();
        }
        return "loaded";
    };
    OrderedJson bad = saved;
    bad["controls"][3]["extender"]["TabIndex"] = 3;
    EXPECT_NE(refused(bad).find("controls[3](prbD).extender.TabIndex: tab position 3 is also controls[0](kpA)'s"),
              std::string::npos) << refused(bad);
    bad = saved;
    bad["controls"][0]["extender"]["TabIndex"] = 4;
    EXPECT_NE(refused(bad).find("out of range (0 to 3)"), std::string::npos) << refused(bad);
    bad = saved;
    bad["controls"][0]["extender"]["TabIndex"] = -2;
    EXPECT_NE(refused(bad).find("TabIndex"), std::string::npos) << refused(bad);
    bad = saved;
    bad["controls"][1]["extender"]["TabStop"] = "no";
    EXPECT_NE(refused(bad).find("TabStop: expected true or false"), std::string::npos) << refused(bad);
}

TEST_F(TabOrderTest, TabVisitsOnlyControlsThatCanTakeTheFocusAndKeysGoToTheFocusedOne) {
    auto form = ShownForm("frmKeys");
    auto a = Place(*form, "KeyProbe", "kpA", 0);
    Place(*form, "Probe", "prbB", 1);  // takes no focus
    auto c = Place(*form, "KeyProbe", "kpC", 2);
    c->SetEnabled(false);
    auto d = Place(*form, "KeyProbe", "kpD", 3);
    d->SetVisible(false);
    auto e = Place(*form, "KeyProbe", "kpE", 4);
    auto f = Place(*form, "KeyProbe", "kpF", 5);
    SetTabStop(*f, false);
    EXPECT_FALSE(ShowsFocusRect(*a));

    Keys("key press VK_TAB\nkey press VK_TAB\nkey press VK_TAB\n"
         "key down VK_SHIFT\nkey press VK_TAB\nkey press VK_TAB\nkey up VK_SHIFT\n");
    EXPECT_EQ(FocusLog(), (Names{"kpA:GotFocus", "kpA:LostFocus", "kpE:GotFocus", "kpE:LostFocus", "kpA:GotFocus",
                                 "kpA:LostFocus", "kpE:GotFocus", "kpE:LostFocus", "kpA:GotFocus"}));
    EXPECT_TRUE(ShowsFocusRect(*a)) << "Tab shows the focus cue";

    // Other keys reach the focused control, Shift and all.
    Keys("key press X\nkey down VK_SHIFT\nkey press Y\nkey up VK_SHIFT\n");
    EXPECT_EQ(KeyLog(), (Names{"kpA:KeyDown 88", "kpA:KeyPress 120", "kpA:KeyUp 88", "kpA:KeyDown 16 shift 1",
                                 "kpA:KeyDown 89 shift 1", "kpA:KeyPress 89", "kpA:KeyUp 89", "kpA:KeyUp 16"}));

    // A click focuses a control Tab skips; Tab goes on from its place.
    Keys("move 325 20\nclick left\nkey press VK_TAB\n");
    EXPECT_EQ(FocusLog(), (Names{"kpA:LostFocus", "kpF:GotFocus", "kpF:LostFocus", "kpA:GotFocus"}));
    EXPECT_EQ(TabIndex(*f), 5);
}

TEST_F(TabOrderTest, FocusEndsSomewhereSensibleWhenItsControlGoes) {
    auto empty = ShownForm("frmEmpty");
    Place(*empty, "Probe", "prbOnly", 0);
    Keys("key press VK_TAB\nkey down VK_SHIFT\nkey press VK_TAB\nkey up VK_SHIFT\n");
    EXPECT_EQ(GetFocus(), empty->hWnd()) << "nothing to tab to: the form keeps the focus";
    empty->Unload();

    auto form = ShownForm("frmGoing");
    auto a = Place(*form, "KeyProbe", "kpA", 0);
    auto b = Place(*form, "KeyProbe", "kpB", 1);
    ASSERT_TRUE(SetFocus(*a));
    // Disabled while focused: the focus goes, keys go to the form, Tab finds the next one.
    a->SetEnabled(false);
    EXPECT_FALSE(HasFocus(*a));
    EXPECT_FALSE(SetFocus(*a)) << "a disabled control takes no focus";
    Keys("key press Q\nkey press VK_TAB\n");
    EXPECT_EQ(FocusLog(), (Names{"kpB:GotFocus"}));
    // Removed while focused: the form has the focus again.
    form->Remove(*b);
    b.reset();
    EXPECT_EQ(GetFocus(), form->hWnd());
    a->SetEnabled(true);
    // Keys during a modal loop run by the focused control: Tab moves the focus inside the loop,
    // the loop ends with Escape, and the rest of the keys go where the focus now is.
    auto c = Place(*form, "KeyProbe", "kpC", 2);
    ASSERT_TRUE(SetFocus(*a));
    Keys("key press M\nkey press VK_TAB\nkey press X\nkey press VK_ESCAPE\nkey press Z\n");
    EXPECT_EQ(KeyLog(), (Names{"kpA:KeyDown 77", "kpA:KeyPress 109", "kpA:KeyUp 77", "kpA:LostFocus", "kpC:GotFocus",
                               "kpC:KeyUp 9", "kpC:KeyDown 88",
                                 "kpC:KeyPress 120", "kpC:KeyUp 88", "kpA:loop ended", "kpC:KeyUp 27", "kpC:KeyDown 90",
                                 "kpC:KeyPress 122", "kpC:KeyUp 90"}));
}

}  // namespace
}  // namespace brimlox::test
