#include "persist_test.h"

#include <gtest/gtest.h>

#include "foundation/persistence/persist_state.h"
#include "platform/desktop/desktop.h"
#include "platform/host/form.h"

namespace brimlox::test {

namespace {

std::shared_ptr<const host::TypeInfo> DescribeProbe(const std::string& type, std::vector<std::string> properties) {
    return host::TypeBuilder<DockingProbe>(type)
        .With([&](host::TypeInfo& info) {
            for (const std::string& name : properties) {
                host::MemberInfo m;
                m.name = name;
                m.kind = host::MemberKind::Property;
                m.get = [name](host::Dispatch& d, std::span<host::Variant>) {
                    auto& p = static_cast<DockingProbe&>(d);
                    if (p.onGet) p.onGet(name);
                    return p.values[name];
                };
                m.let = [name](host::Dispatch& d, std::span<host::Variant> a) {
                    auto& p = static_cast<DockingProbe&>(d);
                    p.values[name] = a.back();
                    ++p.lets[name];
                    return host::Variant();
                };
                info.Add(std::move(m));
            }
        })
        .Build();
}

void RegisterDockingProbes() {
    static const auto split = DescribeProbe(kSplitProbe, {"AutoAdjust", "AutoAdjustForm", "FloatWidth", "FloatHeight",
                                                          "FixedX", "FixedY", "Vertical", "Dock", "Docked", "Style"});
    static const auto bar = DescribeProbe(kBarProbe, {"FullSize", "Minimized"});
    host::RegisterControlType(kSplitProbe, [] { return std::make_shared<DockingProbe>(kSplitProbe, split.get()); });
    host::RegisterControlType(kBarProbe, [] { return std::make_shared<DockingProbe>(kBarProbe, bar.get()); });
}

}  // namespace

foundation::PersistKind ClassifyProbes(const host::Control& control) {
    if (control.TypeName() == kSplitProbe) return foundation::PersistKind::SplitWindow;
    if (control.TypeName() == kBarProbe) return foundation::PersistKind::DreamBar;
    return foundation::PersistKind::Other;
}

void PersistTest::SetUp() {
    HostTest::SetUp();
    desktop::DesktopSettings screen;
    screen.width = 1200;
    screen.height = 900;
    screen.twipsPerPixel = 10;  // whole pixels for every length the tests use
    desktop::Desktop::Instance().Configure(screen);
    RegisterDockingProbes();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    root = std::filesystem::path(OutputDir()) / "persist" / (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::remove_all(root);
    store = std::make_unique<host::SettingsStore>(root);
    foundation::SetRegistryLocation(kTestApp);
}

void PersistTest::TearDown() {
    foundation::SetRegistryLocation("");
    EXPECT_FALSE(foundation::LayoutRestoring());
    HostTest::TearDown();
}

std::shared_ptr<host::Form> PersistTest::NewForm(const std::string& name) { return host::Form::Create(name); }

std::shared_ptr<DockingProbe> PersistTest::AddProbe(host::Form& form, const char* type, const std::string& name,
                                                    host::Control* container) {
    return std::static_pointer_cast<DockingProbe>(form.Add(type, name, container));
}

std::string PersistTest::Stored(const std::string& section, const std::string& key) {
    return store->GetSetting(kTestApp, section, key, "<none>");
}

void PersistTest::Store(const std::string& section, const std::string& key, const std::string& value) {
    ASSERT_TRUE(store->SaveSetting(kTestApp, section, key, value));
}

}  // namespace brimlox::test
