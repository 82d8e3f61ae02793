// Forms and controls on the host: lifecycle order, late binding with skipped members, control
// arrays, containers, docking of aligned controls, and a form run on the event loop.
#include "host_test.h"

#include "platform/host/standard_controls.h"

namespace brimlox::test {
namespace {

using namespace brimlox::host;
using FormTest = HostTest;

std::vector<std::string> Without(const std::vector<std::string>& log, const std::string& call) {
    std::vector<std::string> out;
    for (const auto& e : log)
        if (e.find(call) == std::string::npos) out.push_back(e);
    return out;
}

TEST_F(FormTest, LifecycleRunsInItsOrderForControlsAndForms) {
    auto form = Form::Create("frmMain");
    std::vector<std::string> formLog;
    for (const char* e : {"Load", "Resize", "QueryUnload", "Unload", "Terminate"})
        form->Connect(e, [&formLog, e](std::span<Variant> a) {
            formLog.push_back(e);
            // The first attempt to unload is cancelled through the by-reference argument.
            if (std::string(e) == "QueryUnload" && formLog.size() < 8 && a[1].ToInteger() == kFormCode &&
                std::count(formLog.begin(), formLog.end(), "QueryUnload") == 1)
                a[0] = Variant(true);
        });
    auto probe = form->Add("Probe", "prbOne");
    EXPECT_EQ(ProbeLog(), (std::vector<std::string>{"prbOne:Initialize", "prbOne:InitProperties", "prbOne:Resize"}));
    ProbeLog().clear();
    form->Show();
    DoEvents();
    EXPECT_EQ(ProbeLog(), (std::vector<std::string>{"prbOne:Paint"}));
    probe->SetWidth(2400);  // Resize runs before the setter returns
    EXPECT_EQ(ProbeLog().back(), "prbOne:Resize");
    probe->Move(0, 0, 2400, probe->Height());  // the same size raises no Resize
    EXPECT_EQ(ProbeLog().back(), "prbOne:Resize");
    EXPECT_EQ(std::count(ProbeLog().begin(), ProbeLog().end(), "prbOne:Resize"), 1);
    ProbeLog().clear();
    EXPECT_FALSE(form->Unload()) << "QueryUnload cancelled";
    EXPECT_TRUE(ProbeLog().empty());
    EXPECT_TRUE(form->Unload());
    EXPECT_EQ(ProbeLog(), (std::vector<std::string>{"prbOne:Terminate"}));
    EXPECT_EQ(Without(formLog, "Resize"),
              (std::vector<std::string>{"Load", "QueryUnload", "QueryUnload", "Unload", "Terminate"}));
    EXPECT_EQ(probe->hWnd(), nullptr);
}

TEST_F(FormTest, FormEventsReachControlsThatHookThemInConnectionOrder) {
    auto form = Form::Create();
    auto a = form->Add("Probe", "prbA");
    auto b = form->Add("Probe", "prbB");
    std::vector<std::string> order;
    // Controls hook their form while they are created; application code connects afterwards.
    for (auto& c : {a, b}) form->Connect("Resize", [&order, c](std::span<Variant>) { order.push_back(c->Name()); });
    form->Connect("Resize", [&order](std::span<Variant>) { order.push_back("code"); });
    form->Show();
    order.clear();
    form->Move(0, 0, 6000, 5000);
    EXPECT_EQ(order, (std::vector<std::string>{"prbA", "prbB", "code"}));
    form->Unload();
}

TEST_F(FormTest, LateBoundCallsReachControlAndExtenderAndSkipMissingMembers) {
    auto form = Form::Create();
    auto probe = form->Add("Probe", "prbOne");
    auto label = form->Add("Label", "lblOne");
    auto line = form->Add("Line");
    EXPECT_EQ(line->Name(), "Line1") << "new instances are named from their type";
    LetProperty(*probe, "caption", Variant("late"));
    EXPECT_EQ(std::static_pointer_cast<Probe>(probe)->Caption(), "late");
    LetProperty(*probe, "Left", Variant(300));
    EXPECT_EQ(GetProperty(*probe, "Left").ToLong(), 300) << "extender members are found after the control's own";
    EXPECT_EQ(GetProperty(*probe, "Parent").As<Form>(), form);
    try {
        GetProperty(*probe, "NoSuchThing");
        ADD_FAILURE() << "a missing member must raise";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), kErrMemberNotFound);
    }
    // An errors-ignored step over every control: the Line has no Caption and is skipped.
    int set = 0;
    for (const auto& c : form->Controls())
        if (TryInvoke([&] { LetProperty(*c, "Caption", Variant("all")); })) ++set;
    EXPECT_EQ(set, 2);
    EXPECT_EQ(GetProperty(*label, "Caption").ToString(), "all");
    // Controls through the late-bound collection, and TypeName of each.
    auto controls = GetProperty(*form, "Controls").ToObject();
    EXPECT_EQ(GetProperty(*controls, "Count").ToLong(), 3);
    std::vector<Variant> at{Variant(1)};
    EXPECT_EQ(CallMethod(*controls, "Item", at).ToObject()->TypeName(), "Label");
    EXPECT_TRUE(std::dynamic_pointer_cast<Label>(label) != nullptr);
    form->Unload();
}

TEST_F(FormTest, PropertyChangesReachListenersWithTheControlAndThePropertyName) {
    auto form = Form::Create("frmMain");
    auto label = std::static_pointer_cast<Label>(form->Add("Label", "lblOne"));
    auto text = form->Add("TextBox", "txtOne");
    std::vector<std::string> first, second;
    std::size_t secondId = 0;
    form->AddPropertyChangedListener([&](Control& c, const std::string& p) { first.push_back(c.Name() + "." + p); });
    secondId = form->AddPropertyChangedListener([&](Control& c, const std::string& p) {
        second.push_back(c.Name() + "." + p);
        // A listener may remove itself while it runs.
        if (p == "Text") form->RemovePropertyChangedListener(secondId);
    });
    form->SetDirty(false);
    label->SetCaption("Hello");
    LetProperty(*text, "Text", Variant("typed"));  // late-bound setters report the same way
    label->SetCaption("Again");
    EXPECT_EQ(first, (std::vector<std::string>{"lblOne.Caption", "txtOne.Text", "lblOne.Caption"}));
    EXPECT_EQ(second, (std::vector<std::string>{"lblOne.Caption", "txtOne.Text"}));
    EXPECT_TRUE(form->Dirty());
    EXPECT_EQ(form->AddPropertyChangedListener(nullptr), 0u) << "an empty listener is not added";
    form->Unload();
}

TEST_F(FormTest, ControlArraysShareANameAndReportTheirIndex) {
    auto form = Form::Create();
    auto b0 = form->Add("CommandButton", "cmdPick", nullptr, 0);
    auto b1 = form->Add("CommandButton", "cmdPick", nullptr, 1);
    EXPECT_THROW(form->Add("CommandButton", "cmdPick", nullptr, 1), HostError) << "duplicate index";
    EXPECT_THROW(form->Add("CommandButton", "cmdPick"), HostError) << "a plain control cannot join an array's name";
    EXPECT_EQ(form->ControlArray("cmdpick").size(), 2u);
    EXPECT_EQ(form->Find("cmdPick", 1), b1);
    EXPECT_EQ(b1->Ambient().DisplayName, "cmdPick(1)");
    std::vector<int> clicked;
    for (auto& b : form->ControlArray("cmdPick"))
        b->Connect("Click", [&clicked](std::span<Variant> a) { clicked.push_back(a[0].ToInteger()); });
    LetProperty(*b1, "Value", Variant(true));
    LetProperty(*b0, "Value", Variant(true));
    EXPECT_EQ(clicked, (std::vector<int>{1, 0}));
    form->Unload();
}

TEST_F(FormTest, ContainersHoldControlsAndRefuseCycles) {
    auto form = Form::Create();
    auto frame = form->Add("Frame", "fraOuter");
    auto inner = form->Add("PictureBox", "picInner", frame.get());
    auto probe = form->Add("Probe", "prbIn", inner.get());
    EXPECT_EQ(GetParent(probe->hWnd()), inner->hWnd());
    EXPECT_EQ(probe->ContainerHwnd(), inner->hWnd());
    EXPECT_EQ(inner->ContainedControls().size(), 1u);
    EXPECT_EQ(form->Controls().size(), 3u) << "Controls lists every control in every container";
    try {
        frame->SetContainer(inner);
        ADD_FAILURE() << "a cycle must be refused";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), kErrInvalidPropertyValue);
    }
    EXPECT_EQ(frame->ContainerControl(), nullptr) << "the refused move changed nothing";
    EXPECT_THROW(probe->SetContainer(probe), HostError) << "a Probe is no container";
    probe->SetContainer(form);
    EXPECT_EQ(GetParent(probe->hWnd()), form->hWnd());
    form->Remove(*frame);
    EXPECT_EQ(form->Controls().size(), 1u) << "removing a container removes what it holds";
    form->Unload();
}

TEST_F(FormTest, AlignedControlsDockInCreationOrderAndKeepTheirEdges) {
    auto form = Form::Create();
    form->SetBorderStyle(0);
    form->Move(0, 0, 6000, 4500);  // 400 x 300 pixels of client area
    auto top = form->Add("Probe", "prbTop");
    auto left = form->Add("Probe", "prbLeft");
    auto bottom = form->Add("Probe", "prbBottom");
    top->SetHeight(600);
    top->SetAlign(kAlignTop);
    left->SetWidth(900);
    left->SetAlign(kAlignLeft);
    bottom->SetHeight(450);
    bottom->SetAlign(kAlignBottom);
    auto rect = [](const std::shared_ptr<Control>& c) {
        return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()};
    };
    EXPECT_EQ(rect(top), (std::vector<int>{0, 0, 6000, 600}));
    EXPECT_EQ(rect(left), (std::vector<int>{0, 600, 900, 3900}));
    EXPECT_EQ(rect(bottom), (std::vector<int>{900, 4050, 5100, 450})) << "docked after the left control";
    form->Move(0, 0, 9000, 6000);  // the form grows: every edge follows
    EXPECT_EQ(rect(top), (std::vector<int>{0, 0, 9000, 600}));
    EXPECT_EQ(rect(left), (std::vector<int>{0, 600, 900, 5400}));
    EXPECT_EQ(rect(bottom), (std::vector<int>{900, 5550, 8100, 450}));
    top->SetHeight(1200);  // a thicker top control re-docks the others
    EXPECT_EQ(rect(left), (std::vector<int>{0, 1200, 900, 4800}));
    top->SetWidth(100);  // the length of an aligned control is the form's
    EXPECT_EQ(top->Width(), 9000);
    top->SetVisible(false);
    EXPECT_EQ(left->Top(), 0);
    form->Unload();
}

TEST_F(FormTest, ScriptedClicksReachTheControlWithCaptureAndScaledCoordinates) {
    auto form = Form::Create();
    form->SetBorderStyle(0);
    form->Move(0, 0, 6000, 4500);
    auto probe = std::static_pointer_cast<Probe>(form->Add("Probe", "prbHit"));
    probe->Move(1500, 1500, 1500, 1500);  // pixels 100..200
    int clicks = 0;
    std::vector<float> downs;
    probe->Connect("Click", [&](std::span<Variant>) { ++clicks; });
    probe->Connect("MouseDown", [&](std::span<Variant> a) { downs.push_back(a[2].ToSingle()); });
    form->Show();
    UseScript("at 10ms move 110 120\nclick left\n"                   // a click inside
              "at 600ms down left\nat 610ms move 20 20\nup left\n"  // released outside: no Click
              "at 1200ms move 150 150\nat 1300ms click left\nat 1400ms click left\n");  // a double click
    host::Run();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(downs, (std::vector<float>{150, 150, 750})) << "X in twips; the second press of a double click is no MouseDown";
    EXPECT_EQ(Without(Without(ProbeLog(), "Paint"), "Resize"),
              (std::vector<std::string>{"prbHit:Initialize", "prbHit:InitProperties", "prbHit:MouseMove(0,150,300)",
                                        "prbHit:MouseDown(1,0,150,300)", "prbHit:MouseUp(1,150,300)", "prbHit:Click",
                                        "prbHit:MouseDown(1,0,150,300)",
                                        // the host captured the mouse: the move and release outside arrive
                                        "prbHit:MouseMove(1,-1200,-1200)", "prbHit:MouseUp(1,-1200,-1200)",
                                        "prbHit:MouseMove(0,750,750)", "prbHit:MouseDown(1,0,750,750)",
                                        "prbHit:MouseUp(1,750,750)", "prbHit:Click", "prbHit:DblClick",
                                        "prbHit:MouseUp(1,750,750)"}));
    EXPECT_EQ(GetCapture(), nullptr);
    // A disabled control gets nothing.
    ProbeLog().clear();
    probe->SetEnabled(false);
    UseScript("at 3000ms move 160 160\nclick left\n");
    host::Run();
    EXPECT_TRUE(Without(ProbeLog(), "Paint").empty());
    form->Unload();
}

// A line held by a picture box is drawn by the box's paint, whichever controls came and went
// before it, and a removed line is no longer drawn.
TEST_F(FormTest, WindowlessControlsInAContainerAreDrawnByItsPaintAsTheyComeAndGo) {
    auto form = Form::Create();
    auto pic = form->Add("PictureBox", "picHolder");
    LetProperty(*pic, "Width", Variant(3000));
    LetProperty(*pic, "Height", Variant(1500));
    LetProperty(*pic, "BackColor", Variant(0x00FFFFFF));
    form->Show();
    DoEvents();
    auto addLine = [&](std::int32_t colour) {
        auto line = std::static_pointer_cast<LineControl>(form->Add("Line", "", pic.get()));
        line->SetX1(0), line->SetY1(150), line->SetX2(1500), line->SetY2(150);
        line->SetBorderColor(colour);
        return line;
    };
    auto repaintAndRead = [&] {
        pic->Refresh();
        return GetPixel(pic->hDC(), 50, 10);
    };
    EXPECT_EQ(repaintAndRead(), RGB(255, 255, 255));
    auto first = addLine(0x000000FF);
    EXPECT_EQ(repaintAndRead(), RGB(255, 0, 0)) << "the box draws the line it holds";
    form->Remove(*first);
    EXPECT_EQ(repaintAndRead(), RGB(255, 255, 255)) << "a removed line is gone";
    auto second = addLine(0x0000FF00);
    EXPECT_EQ(repaintAndRead(), RGB(0, 255, 0)) << "a line added after one was removed is drawn";
    form->Remove(*pic);
    EXPECT_TRUE(form->Controls().empty());
    auto lone = form->Add("PictureBox", "picLone");
    lone->Refresh();
    form->Unload();
}

TEST_F(FormTest, RepaintInsidePaintRunsAtOnceAndHandlerErrorsAreReported) {
    auto form = Form::Create();
    auto probe = std::static_pointer_cast<Probe>(form->Add("Probe", "prbPaint"));
    form->Show();
    DoEvents();
    int before = probe->paints_;
    bool again = true;
    probe->onPaint = [&] {
        if (!again) return;
        again = false;
        probe->Refresh();  // runs the nested paint before returning
        EXPECT_EQ(probe->paints_, before + 2);
        throw HostError(kErrSubscript);
    };
    probe->Refresh();
    EXPECT_EQ(probe->paints_, before + 2);
    ASSERT_EQ(MessageBoxLog().size(), 1u);
    EXPECT_NE(MessageBoxLog()[0].text.find("Run-time error '9'"), std::string::npos);
    form->Unload();
}

}  // namespace
}  // namespace brimlox::test
