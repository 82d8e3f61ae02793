// Type information, late-bound calls by name and events with by-reference arguments.
#include <gtest/gtest.h>

#include <cfenv>

#include "platform/host/event_source.h"
#include "platform/host/type_builder.h"

using namespace brimlox::host;

namespace {

// A small object with the shapes of member the controls have.
class Gauge : public Dispatch, public EventSource {
public:
    std::string TypeName() const override { return "Gauge"; }
    const TypeInfo* GetTypeInfo() const override { return Info().get(); }

    std::int16_t Value() const { return value_; }
    void SetValue(std::int16_t v) {
        value_ = v;
        bool cancel = false;
        RaiseEvent("Change", cancel);
        if (cancel) value_ = 0;
    }
    std::uint32_t BackColor() const { return back_; }
    void SetBackColor(std::uint32_t c) { back_ = c; }
    std::shared_ptr<Gauge> Buddy() const { return buddy_; }
    void SetBuddy(std::shared_ptr<Gauge> b) { buddy_ = std::move(b); }

    static const std::shared_ptr<const TypeInfo>& Info() {
        static const std::shared_ptr<const TypeInfo> info =
            TypeBuilder<Gauge>("Gauge")
                .Property("Value", &Gauge::Value, &Gauge::SetValue, "Sets/Returns the value.", 0)
                .Property("BackColor", &Gauge::BackColor, &Gauge::SetBackColor, "Background.", -501)
                .Property("Buddy", &Gauge::Buddy, &Gauge::SetBuddy, "Linked gauge.", 0, {.nonBrowsable = true})
                .Method("Add",
                        [](Gauge& g, std::span<Variant> a) {
                            std::int16_t step = a.size() > 1 && !a[1].IsEmpty() ? a[1].ToInteger() : 1;
                            g.value_ = static_cast<std::int16_t>(g.value_ + a[0].ToInteger() * step);
                            return Variant(g.value_);
                        },
                        "Adds to the value.", {{"Amount"}, {"Step", true}})
                .Event("Change", 1, "Occurs when the value changes.", {{"Cancel", false, true}})
                .Build();
        return info;
    }

private:
    std::int16_t value_ = 0;
    std::uint32_t back_ = 0x8000000F;
    std::shared_ptr<Gauge> buddy_;
};

int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const HostError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace

TEST(LateBinding, MembersAreFoundByNameInInterfaceOrderWithTheirFlags) {
    const auto& built = Gauge::Info();  // types register when first described
    auto info = FindType("Gauge");
    ASSERT_EQ(info, built);
    const auto& m = info->Members();
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0].name, "Value");
    EXPECT_TRUE(m[0].HasGet() && m[0].HasLet() && !m[0].HasSet());
    EXPECT_TRUE(m[2].HasSet() && !m[2].HasLet()) << "object properties are assigned with set";
    EXPECT_TRUE(m[2].nonBrowsable);
    EXPECT_EQ(m[1].dispId, -501);
    EXPECT_EQ(m[4].kind, MemberKind::Event);
    EXPECT_EQ(info->Find("change"), nullptr) << "events are not callable members";
    EXPECT_NE(info->FindEvent("CHANGE"), nullptr);
}

TEST(LateBinding, InvokeConvertsValuesAndRaisesTheHostErrors) {
    auto g = std::make_shared<Gauge>();
    LetProperty(*g, "value", Variant(2.5));
    EXPECT_EQ(GetProperty(*g, "Value").ToInteger(), 2) << "halves round to even";
    LetProperty(*g, "BackColor", Variant(static_cast<std::int32_t>(0x80000012)));
    EXPECT_EQ(g->BackColor(), 0x80000012u);
    EXPECT_EQ(CallMethod(*g, "Add", {Variant(std::int16_t(3))}).ToInteger(), 5);
    EXPECT_EQ(CallMethod(*g, "Add", {Variant(std::int16_t(1)), Variant(std::int16_t(10))}).ToInteger(), 15);
    EXPECT_EQ(ErrorOf([&] { CallMethod(*g, "Add"); }), kErrArgumentNotOptional);
    EXPECT_EQ(ErrorOf([&] { CallMethod(*g, "Add", {Variant(1), Variant(2), Variant(3)}); }), kErrWrongArgumentCount);
    EXPECT_EQ(ErrorOf([&] { GetProperty(*g, "Missing"); }), kErrMemberNotFound);
    EXPECT_EQ(ErrorOf([&] { LetProperty(*g, "Value", Variant(40000)); }), kErrOverflow);
    EXPECT_EQ(GetProperty(*g, "Value").ToInteger(), 15) << "a failed let leaves the value";
    auto other = std::make_shared<Gauge>();
    LetProperty(*g, "Buddy", Variant(std::static_pointer_cast<Dispatch>(other)));
    EXPECT_EQ(g->Buddy(), other);
    EXPECT_EQ(ErrorOf([&] { LetProperty(*g, "Buddy", Variant("text")); }), kErrMemberNotFound)
        << "a value cannot be let into an object property";
    // Errors-ignored call sites skip objects without the member and go on.
    int steps = 0;
    EXPECT_FALSE(TryInvoke([&] { LetProperty(*g, "Orientation", Variant(1)); ++steps; }));
    EXPECT_TRUE(TryInvoke([&] { LetProperty(*g, "Value", Variant(1)); ++steps; }));
    EXPECT_EQ(steps, 1);
}

TEST(LateBinding, EventsRunInConnectionOrderWithArgumentsByReference) {
    Gauge g;
    std::vector<int> order;
    int first = g.Connect("Change", [&](std::span<Variant>) { order.push_back(1); });
    g.Connect("change", [&](std::span<Variant> args) {
        order.push_back(2);
        args[0] = Variant(true);  // cancel
    });
    g.SetValue(7);
    EXPECT_EQ(g.Value(), 0) << "the handler's Cancel came back to the raiser";
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    // A handler that disconnects another while the event runs.
    order.clear();
    g.Disconnect(first);
    int selfId = 0;
    selfId = g.Connect("Change", [&](std::span<Variant>) {
        order.push_back(3);
        g.Disconnect(selfId);
    });
    g.SetValue(1);
    g.SetValue(1);
    EXPECT_EQ(order, (std::vector<int>{2, 3, 2}));

    // Many handlers (more than a short event usually has) run in order, one removing a later
    // one on its way; names that differ only where case folding would wrongly merge
    // punctuation ("Change@" and "Change`") do not match.
    Gauge many;
    std::vector<int> ran;
    std::vector<int> ids;
    for (int i = 0; i < 12; ++i)
        ids.push_back(many.Connect(i % 2 ? "CHANGE" : "change", [&, i](std::span<Variant>) {
            ran.push_back(i);
            if (i == 3) many.Disconnect(ids[9]);
        }));
    many.Connect("Chang", [&](std::span<Variant>) { ran.push_back(-1); });
    many.SetValue(4);
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11}));
    int odd = 0;
    many.Connect("Change@", [&](std::span<Variant>) { ++odd; });
    EXPECT_EQ(many.RaiseEvent("Change`"), 0);
    EXPECT_EQ(many.RaiseEvent("change@"), 1);
    EXPECT_EQ(odd, 1);
}

// Interfaces as large as a control's: every member is found in any case, names that differ
// in one character are told apart, the first of two same-named members answers, and a get
// and a let added separately end up on one member.
TEST(LateBinding, LargeInterfacesFindEveryMemberInAnyCase) {
    TypeInfo info("Wide");
    auto member = [](std::string name, MemberKind kind, int dispId) {
        MemberInfo m;
        m.name = std::move(name);
        m.kind = kind;
        m.dispId = dispId;
        return m;
    };
    for (int i = 0; i < 300; ++i) info.Add(member("Prop" + std::to_string(i), MemberKind::Property, i));
    info.Add(member("Max_Value", MemberKind::Property, 1000));
    info.Add(member("Refresh", MemberKind::Property, 1001));
    info.Add(member("REFRESH", MemberKind::Method, 1002));
    info.Add(member("Refresh", MemberKind::Event, 1003));
    MemberInfo let = member("prop7", MemberKind::Property, 7);
    let.let = [](Dispatch&, std::span<Variant>) { return Variant(); };
    info.Add(std::move(let));
    ASSERT_EQ(info.Members().size(), 304u) << "the let joined Prop7";
    for (int i = 0; i < 300; ++i) {
        std::string name = "pROP" + std::to_string(i);
        const MemberInfo* m = info.Find(name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_EQ(m->dispId, i);
    }
    EXPECT_TRUE(info.Find("Prop7")->HasLet());
    EXPECT_EQ(info.Find("Prop300"), nullptr);
    EXPECT_EQ(info.Find("Prop"), nullptr);
    EXPECT_EQ(info.Find("max_value")->dispId, 1000);
    EXPECT_EQ(info.Find("Max\x7FValue"), nullptr) << "only letters fold";
    EXPECT_EQ(info.Find("Max Value"), nullptr);
    EXPECT_EQ(info.Find("refresh")->dispId, 1001) << "the first of a property and a method";
    EXPECT_EQ(info.FindEvent("refresh")->dispId, 1003);
    EXPECT_EQ(info.Find(""), nullptr);
}

// Whole numbers convert without rounding; halves go to even also when the program has set
// another floating-point rounding mode.
TEST(LateBinding, ConversionsRoundHalvesToEvenInAnyRoundingMode) {
    EXPECT_EQ(Variant(std::int32_t{-2147483647 - 1}).ToLong(), -2147483647 - 1);
    EXPECT_EQ(Variant(true).ToLong(), -1);
    EXPECT_EQ(Variant(std::int16_t{-7}).ToLong(), -7);
    const int mode = std::fegetround();
    for (int m : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(m);
        EXPECT_EQ(Variant(2.5).ToLong(), 2);
        EXPECT_EQ(Variant(3.5).ToLong(), 4);
        EXPECT_EQ(Variant(-2.5).ToLong(), -2);
        EXPECT_EQ(Variant(2.4999).ToInteger(), 2);
        EXPECT_EQ(Variant("6.5").ToByte(), 6);
    }
    std::fesetround(mode);
    EXPECT_EQ(ErrorOf([] { Variant(2147483647.5).ToLong(); }), kErrOverflow);
}
