// Test support for the component host: a fixture on a fresh desktop (virtual clock) that fails
// a test leaking windows, icons or GDI objects, and "Probe", a small control that logs every
// lifecycle call and raises an event for each mouse call.
#pragma once

#include <string>
#include <vector>

#include "platform/host/control_registry.h"
#include "platform/host/form.h"
#include "platform/host/runtime.h"
#include "platform/host/type_builder.h"
#include "../user/user_test.h"

namespace brimlox::test {

class HostTest : public UserTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Every call the host made on Probe controls, as "<name>:<call>".
std::vector<std::string>& ProbeLog();

class Probe : public host::Control {
public:
    std::string TypeName() const override { return "Probe"; }
    const host::TypeInfo* GetTypeInfo() const override;
    bool IsContainer() const override { return container_; }

    void Initialize() override { Log("Initialize"); }
    void InitProperties() override { Log("InitProperties"); caption_ = "new"; }
    void ReadProperties(host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Resize() override { Log("Resize"); }
    void Paint() override;
    void MouseDown(int b, int s, float x, float y) override;
    void MouseMove(int b, int s, float x, float y) override;
    void MouseUp(int b, int s, float x, float y) override;
    void Click() override { Log("Click"); RaiseEvent("Click"); }
    void DblClick() override { Log("DblClick"); }
    void Terminate() override { Log("Terminate"); }

    std::string Caption() const { return caption_; }
    void SetCaption(std::string c) { caption_ = std::move(c); PropertyChanged("Caption"); }
    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t v) { value_ = v; PropertyChanged("Value"); }

    bool container_ = false;
    int paints_ = 0;
    std::function<void()> onPaint;

private:
    void Log(const std::string& call) { ProbeLog().push_back(Name() + ":" + call); }
    std::string caption_;
    std::int32_t value_ = 0;
};

// A Probe that holds other controls.
class ProbeContainer : public Probe {
public:
    ProbeContainer() { container_ = true; }
    std::string TypeName() const override { return "ProbeContainer"; }
};

void RegisterProbes();

}  // namespace brimlox::test
