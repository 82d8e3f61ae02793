#include "host_test.h"

#include "platform/host/font.h"

namespace brimlox::test {

void HostTest::SetUp() {
    UserTest::SetUp();
    host::StartHost();
    host::ResetHostState();
    RegisterProbes();
    ProbeLog().clear();
}

void HostTest::TearDown() {
    host::ResetHostState();
    UserTest::TearDown();
}

std::vector<std::string>& ProbeLog() {
    static std::vector<std::string> log;
    return log;
}

const host::TypeInfo* Probe::GetTypeInfo() const {
    static const auto info = host::TypeBuilder<Probe>("Probe")
                                 .Property("Caption", &Probe::Caption, &Probe::SetCaption, "The caption.", 0)
                                 .Property("Value", &Probe::Value, &Probe::SetValue, "A number.", 1)
                                 .Event("Click", -600, "Clicked.")
                                 .Event("MouseDown", -605, "Pressed.", {{"Button"}, {"Shift"}, {"X"}, {"Y"}})
                                 .Build();
    return info.get();
}

void Probe::ReadProperties(host::PropertyBag& bag) {
    Log("ReadProperties");
    caption_ = bag.ReadProperty("Caption", host::Variant("new")).ToString();
    value_ = bag.ReadProperty("Value", host::Variant(0)).ToLong();
    if (auto font = bag.ReadProperty("Font").As<host::StdFont>()) SetFont(font);
    if (value_ < 0) throw host::HostError(host::kErrInvalidPropertyValue);
}

void Probe::WriteProperties(host::PropertyBag& bag) {
    Log("WriteProperties");
    bag.WriteProperty("Caption", host::Variant(caption_), host::Variant("new"));
    bag.WriteProperty("Value", host::Variant(value_), host::Variant(0));
    bag.WriteProperty("Font", host::Variant(std::static_pointer_cast<host::Dispatch>(Font())));
}

void Probe::Paint() {
    ++paints_;
    Log("Paint");
    if (onPaint) onPaint();
}

void Probe::MouseDown(int b, int s, float x, float y) {
    Log("MouseDown(" + std::to_string(b) + "," + std::to_string(s) + "," + host::FormatNumber(x, 7) + "," +
        host::FormatNumber(y, 7) + ")");
    RaiseEvent("MouseDown", b, s, x, y);
}

void Probe::MouseMove(int b, int s, float x, float y) {
    Log("MouseMove(" + std::to_string(b) + "," + host::FormatNumber(x, 7) + "," + host::FormatNumber(y, 7) + ")");
    (void)s;
}

void Probe::MouseUp(int b, int s, float x, float y) {
    Log("MouseUp(" + std::to_string(b) + "," + host::FormatNumber(x, 7) + "," + host::FormatNumber(y, 7) + ")");
    (void)s;
}

void RegisterProbes() {
    host::RegisterControlType("Probe", [] { return std::make_shared<Probe>(); });
    host::RegisterControlType("ProbeContainer", [] { return std::make_shared<ProbeContainer>(); });
}

}  // namespace brimlox::test
