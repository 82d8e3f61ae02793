// Variant conversions and equality, and property bags with their JSON form.
#include <gtest/gtest.h>

#include "platform/host/host_error.h"
#include "platform/host/property_bag.h"
#include "platform/host/variant.h"

using namespace brimlox::host;

namespace {
int ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const HostError& e) {
        return e.Number();
    }
    return 0;
}

struct Thing : Dispatch {
    std::string TypeName() const override { return "Thing"; }
};
}  // namespace

TEST(Variant, ConversionsRoundHalvesToEvenAndReportOverflowAndMismatch) {
    EXPECT_EQ(Variant(2.5).ToInteger(), 2);
    EXPECT_EQ(Variant(3.5).ToInteger(), 4);
    EXPECT_EQ(Variant(-2.5).ToLong(), -2);
    EXPECT_EQ(Variant(float(0.5f)).ToByte(), 0);
    EXPECT_EQ(Variant(" 12 ").ToInteger(), 12);
    EXPECT_EQ(Variant("&HFF").ToLong(), 255);
    EXPECT_EQ(Variant("&H8000000F").ToLong(), static_cast<std::int32_t>(0x8000000F));
    EXPECT_EQ(Variant(true).ToInteger(), -1);
    EXPECT_TRUE(Variant("True").ToBool());
    EXPECT_FALSE(Variant().ToBool());
    EXPECT_EQ(ErrorOf([] { Variant(32767.5).ToInteger(); }), kErrOverflow) << "rounds to 32768";
    EXPECT_EQ(ErrorOf([] { Variant(std::int32_t(256)).ToByte(); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { Variant(1e300).ToSingle(); }), kErrOverflow);
    EXPECT_EQ(ErrorOf([] { Variant("abc").ToLong(); }), kErrTypeMismatch);
    EXPECT_EQ(ErrorOf([] { Variant(std::make_shared<Thing>()).ToString(); }), kErrTypeMismatch);
    EXPECT_EQ(Variant(float(0.1f)).ToString(), "0.1");
    EXPECT_EQ(Variant(1.0 / 3).ToString(), "0.333333333333333");
    EXPECT_EQ(Variant(false).ToString(), "False");
    EXPECT_EQ(HostError(kErrMemberNotFound).Description(), "Object doesn't support this property or method");
}

TEST(Variant, EqualityComparesAcrossWidthsAndNeverRaises) {
    EXPECT_TRUE(Variant(std::int16_t(5)) == Variant(5.0));
    EXPECT_TRUE(Variant() == Variant(""));
    EXPECT_TRUE(Variant() == Variant(std::int32_t(0)));
    EXPECT_TRUE(Variant(false) == Variant(std::int32_t(0))) << "a Boolean default matches integer 0";
    EXPECT_TRUE(Variant("7") == Variant(std::int32_t(7)));
    EXPECT_FALSE(Variant("seven") == Variant(std::int32_t(7)));
    EXPECT_FALSE(Variant("a") == Variant("A"));
    auto t = std::make_shared<Thing>();
    EXPECT_TRUE(Variant(t) == Variant(std::shared_ptr<Dispatch>(t)));
    EXPECT_FALSE(Variant(t) == Variant(std::make_shared<Thing>()));
    EXPECT_FALSE(Variant(t) == Variant(std::int32_t(0)));
}

TEST(PropertyBag, KeepsWriteOrderDropsDefaultsAndRoundTripsThroughJson) {
    PropertyBag bag;
    bag.WriteProperty("Caption", "OK", "");
    bag.WriteProperty("Toggle", false, false);
    bag.WriteProperty("MenuButton", true, std::int32_t(0));
    bag.WriteProperty("GradientPct", 0.25f, 0.0f);
    bag.WriteProperty("BackColor", std::int32_t(0x00FF00), std::int32_t(0x8000000F));
    bag.WriteProperty("Caption", "", "") ;  // rewriting the default removes the key
    ASSERT_EQ(bag.Entries().size(), 3u);
    EXPECT_EQ(bag.Entries()[0].first, "MenuButton");
    EXPECT_EQ(bag.ReadProperty("Caption", "dflt").ToString(), "dflt");
    OrderedJson j = bag.ToJson();
    EXPECT_EQ(j.dump(), R"({"MenuButton":true,"GradientPct":{"single":0.25},"BackColor":65280})");
    PropertyBag back = PropertyBag::FromJson(j);
    EXPECT_TRUE(back.ReadProperty("MenuButton").ToBool());
    EXPECT_EQ(back.ReadProperty("GradientPct").Type(), VarType::Single);
    EXPECT_EQ(back.ToJson(), j);
}

TEST(PropertyBag, BadJsonValuesAreRefusedWithTheirPath) {
    auto message = [](const char* text) {
        try {
            PropertyBag::FromJson(OrderedJson::parse(text), "controls[1].bag");
        } catch (const FormFileError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(message(R"({"A":[1]})"), "controls[1].bag.A: arrays are not property values");
    EXPECT_EQ(message(R"({"A":4294967296})"), "controls[1].bag.A: integer out of the 32-bit range");
    EXPECT_EQ(message(R"({"P":{"object":"Nope","data":1}})"), "controls[1].bag.P: unknown object type \"Nope\"");
    EXPECT_EQ(message(R"([])"), "controls[1].bag: a property bag must be a JSON object");
    EXPECT_EQ(message(R"({"S":{"single":1e300}})"), "controls[1].bag.S: single value out of range");
    PropertyBag withObject;
    withObject.WriteProperty("Obj", Variant(std::make_shared<Thing>()));
    EXPECT_THROW(withObject.ToJson(), FormFileError);
}
