// Handlers that pull the ground from under their raiser: a control's Click handler that unloads
// the form or removes the control, and event handlers that disconnect themselves, connect
// others, raise again, throw, or destroy the object raising the event.
#include <algorithm>
#include <stdexcept>

#include "host_test.h"

namespace brimlox::test {
namespace {

using namespace brimlox::host;
using HandlerReentrancyTest = HostTest;

int& ProbesDestroyed() {
    static int n = 0;
    return n;
}

// A probe that counts its destruction, made either the host's way (Control::Make) or with
// make_shared as a control author may.
class CountedProbe : public Probe {
public:
    ~CountedProbe() override { ++ProbesDestroyed(); }
};

void RegisterCountedProbes() {
    RegisterControlType("MadeProbe", [] { return Control::Make<CountedProbe>(); });
    RegisterControlType("SharedProbe", [] { return std::make_shared<CountedProbe>(); });
}

enum class Outcome { UnloadForm, RemoveControl };

// Clicks a probe whose Click handler unloads its form or removes it. The control must live
// until the click's handling is over, and go then.
void ClickAndPullTheGround(const char* type, Outcome outcome) {
    SCOPED_TRACE(std::string(type) + (outcome == Outcome::UnloadForm ? " unloading its form" : " removing itself"));
    ProbesDestroyed() = 0;
    ProbeLog().clear();
    auto form = Form::Create("frmPull");
    form->Show();
    auto probe = std::static_pointer_cast<CountedProbe>(form->Add(type, "prbPull"));
    const HWND hwnd = probe->hWnd();
    std::weak_ptr<CountedProbe> weak = probe;
    CountedProbe* raw = probe.get();
    probe.reset();  // the form is the only owner
    std::string seenAfter;
    int clicks = 0;
    raw->Connect("Click", [&, label = std::string("captured")](std::span<Variant>) {
        ++clicks;
        if (outcome == Outcome::UnloadForm) form->Unload();
        else form->Remove(*raw);
        EXPECT_EQ(ProbesDestroyed(), 0) << "the control lives until its handling is over";
        seenAfter = raw->Name() + " " + label;
    });
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seenAfter, "prbPull captured");
    EXPECT_EQ(ProbesDestroyed(), 1) << "the control went when its handling ended";
    EXPECT_TRUE(weak.expired());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(std::count(ProbeLog().begin(), ProbeLog().end(), "prbPull:Terminate"), 1);
    // Messages sent to the stale handle afterwards reach nobody.
    EXPECT_EQ(SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0), 0);
    EXPECT_EQ(clicks, 1);
    if (!form->Unloaded()) form->Unload();
}

TEST_F(HandlerReentrancyTest, AControlOutlivesTheHandlerThatUnloadsItsFormOrRemovesIt) {
    RegisterCountedProbes();
    for (const char* type : {"MadeProbe", "SharedProbe"})
        for (Outcome outcome : {Outcome::UnloadForm, Outcome::RemoveControl}) ClickAndPullTheGround(type, outcome);

    // A control made by the host and let go outside any handling goes at once.
    ProbesDestroyed() = 0;
    auto form = Form::Create("frmQuiet");
    form->Show();
    Control& quiet = *form->Add("MadeProbe", "prbQuiet");
    form->Remove(quiet);
    EXPECT_EQ(ProbesDestroyed(), 1);
    form->Unload();
}

class Source : public Dispatch, public EventSource {
public:
    std::string TypeName() const override { return "Source"; }
    const TypeInfo* GetTypeInfo() const override { return nullptr; }
};

TEST(EventReentrancy, HandlersMayDisconnectConnectRaiseThrowOrDestroyTheirSource) {
    // A handler that disconnects itself and connects another: the rest of the raise goes on,
    // the new handler waits for the next raise, and the gone one never runs again.
    Source s;
    std::vector<std::string> ran;
    int selfId = 0;
    selfId = s.Connect("Go", [&](std::span<Variant>) {
        ran.push_back("once");
        s.Disconnect(selfId);
        s.Connect("go", [&](std::span<Variant>) { ran.push_back("late"); });
    });
    s.Connect("Go", [&](std::span<Variant>) { ran.push_back("always"); });
    EXPECT_EQ(s.RaiseEvent("Go"), 2);
    EXPECT_EQ(s.RaiseEvent("Go"), 2);
    EXPECT_EQ(ran, (std::vector<std::string>{"once", "always", "always", "late"}));

    // A raise inside a raise: the inner one disconnects a handler the outer one has yet to run.
    Source nested;
    std::vector<int> order;
    int depth = 0;
    int thirdId = 0;
    nested.Connect("Step", [&](std::span<Variant>) {
        order.push_back(1);
        if (depth++ == 0) EXPECT_EQ(nested.RaiseEvent("Step"), 2);
    });
    nested.Connect("Step", [&](std::span<Variant>) {
        order.push_back(2);
        nested.Disconnect(thirdId);
    });
    thirdId = nested.Connect("Step", [&](std::span<Variant>) { order.push_back(3); });
    EXPECT_EQ(nested.RaiseEvent("Step"), 2);
    EXPECT_EQ(order, (std::vector<int>{1, 1, 2, 2}));

    // A handler that throws leaves the source as it was: later disconnects take effect at once.
    Source throwing;
    int calls = 0;
    const int thrower = throwing.Connect("Boom", [&](std::span<Variant>) {
        ++calls;
        throw std::runtime_error("boom");
    });
    EXPECT_THROW(throwing.RaiseEvent("Boom"), std::runtime_error);
    throwing.Disconnect(thrower);
    EXPECT_EQ(throwing.RaiseEvent("Boom"), 0);
    EXPECT_EQ(calls, 1);

    // A handler that destroys its source: the handler itself (its captures) lives until it
    // returns, and the handlers after it do not run.
    auto owned = std::make_unique<Source>();
    std::string seen;
    int after = 0;
    owned->Connect("Close", [&, text = std::string("still here")](std::span<Variant>) {
        owned->Connect("Close", [&](std::span<Variant>) { ++after; });
        owned.reset();
        seen = text;
    });
    owned->Connect("Close", [&](std::span<Variant>) { ++after; });
    Source* raw = owned.get();
    EXPECT_EQ(raw->RaiseEvent("Close"), 1);
    EXPECT_EQ(seen, "still here");
    EXPECT_EQ(after, 0);
}

}  // namespace
}  // namespace brimlox::test
