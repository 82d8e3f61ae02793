#include "controls/library.h"

#include <memory>

#include "controls/command/command.h"
#include "controls/divider/divider.h"
#include "controls/dreambar/dreambar.h"
#include "controls/indicators/progressbar.h"
#include "controls/scrollbar/scrollbar.h"
#include "controls/splitwindow/splitwindow.h"
#include "controls/trayicon/trayicon.h"
#include "drawing/clog_font.h"
#include "drawing/hidden_buffer.h"
#include "platform/host/class_registry.h"
#include "platform/host/control_registry.h"
#include "platform/host/runtime.h"

namespace brimlox::controls {

namespace {

std::vector<std::string>& ControlNames() {
    static std::vector<std::string> names;
    return names;
}

std::vector<std::string>& ClassNames() {
    static std::vector<std::string> names;
    return names;
}

template <typename T>
void AddControl(const char* typeName) {
    host::RegisterControlType(typeName, [] { return host::Control::Make<T>(); });
    ControlNames().push_back(typeName);
}

template <typename T>
void AddClass(const char* className) {
    host::RegisterCreatableClass("Brimlox", className, [] { return std::make_shared<T>(); });
    ClassNames().push_back(className);
}

void RegisterTypes() {
    // One line per control type, under the name form files and Form::Add use. A new control
    // adds its line here (and its header above); `bash scripts/docs.sh` then writes its
    // docs/controls page, which a test expects for every type listed here.
    AddControl<Command>("Command");
    AddControl<ScrollBar>("ScrollBar");
    AddControl<ProgressBar>("ProgressBar");
    AddControl<Divider>("Divider");
    AddControl<SplitWindow>("SplitWindow");
    AddControl<DreamBar>("DreamBar");
    AddControl<TrayIcon>("TrayIcon");
    // One line per public class, created by CreateObject("Brimlox.Name") or "Name".
    AddClass<drawing::HiddenBuffer>("HiddenBuffer");
    AddClass<drawing::CLogFont>("CLogFont");
}

}  // namespace

void RegisterLibrary() {
    static const bool registered = [] {
        host::StartHost();
        RegisterTypes();
        return true;
    }();
    (void)registered;
}

const std::vector<std::string>& LibraryControlTypes() {
    RegisterLibrary();
    return ControlNames();
}

const std::vector<std::string>& LibraryClasses() {
    RegisterLibrary();
    return ClassNames();
}

const char* Version() { return BRIMLOX_VERSION; }

}  // namespace brimlox::controls
