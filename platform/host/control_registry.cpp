#include "platform/host/control_registry.h"

#include <cctype>
#include <map>

#include "platform/host/runtime.h"

namespace brimlox::host {

namespace {

std::map<std::string, ControlFactory>& Factories() {
    static std::map<std::string, ControlFactory> factories;
    return factories;
}

}  // namespace

void RegisterControlType(const std::string& typeName, ControlFactory factory) {
    Factories()[typeName] = std::move(factory);
}

std::shared_ptr<Control> CreateControl(const std::string& typeName) {
    StartHost();
    auto it = Factories().find(typeName);
    return it == Factories().end() ? nullptr : it->second();
}

bool IsControlType(const std::string& typeName) {
    StartHost();
    return Factories().count(typeName) != 0;
}

std::vector<std::string> ControlTypeNames() {
    StartHost();
    std::vector<std::string> names;
    for (const auto& entry : Factories()) names.push_back(entry.first);
    return names;
}

bool IsValidName(const std::string& name) {
    if (name.empty() || name.size() > 40 || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

}  // namespace brimlox::host
