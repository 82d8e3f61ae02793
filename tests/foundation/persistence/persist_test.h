// Test support for form layout persistence: a fixture with a 12000 x 9000 twip screen at 10
// twips per pixel, a settings store of its own under the test output folder and a fixed
// application name; and "docking probes", controls that carry the splitter and bar properties
// under test type names, classified as SplitWindow and DreamBar by the fixture's services.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "foundation/persistence/layout_restore.h"
#include "platform/host/settings_store.h"
#include "tests/platform/host/host_test.h"

namespace brimlox::test {

inline constexpr const char* kSplitProbe = "PersistSplitProbe";
inline constexpr const char* kBarProbe = "PersistBarProbe";
inline constexpr const char* kTestApp = "brimlox-persist-test";

// A container control whose properties are kept as the Variants they were set to, with a
// count of the times each was set.
class DockingProbe : public host::Control {
public:
    DockingProbe(std::string type, const host::TypeInfo* info) : type_(std::move(type)), info_(info) {}
    std::string TypeName() const override { return type_; }
    const host::TypeInfo* GetTypeInfo() const override { return info_; }
    bool IsContainer() const override { return true; }

    std::map<std::string, host::Variant> values;
    std::map<std::string, int> lets;
    std::function<void(const std::string&)> onGet;  // runs before a property is read

private:
    std::string type_;
    const host::TypeInfo* info_;
};

foundation::PersistKind ClassifyProbes(const host::Control& control);

class PersistTest : public HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    foundation::PersistServices Services() { return {store.get(), ClassifyProbes}; }
    std::shared_ptr<host::Form> NewForm(const std::string& name = "frmMain");
    std::shared_ptr<DockingProbe> AddProbe(host::Form& form, const char* type, const std::string& name,
                                           host::Control* container = nullptr);
    // The stored value of a key of the test application.
    std::string Stored(const std::string& section, const std::string& key);
    void Store(const std::string& section, const std::string& key, const std::string& value);

    std::filesystem::path root;
    std::unique_ptr<host::SettingsStore> store;
};

}  // namespace brimlox::test
