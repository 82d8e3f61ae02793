#include "platform/host/class_registry.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/host/host_error.h"

namespace brimlox::host {

namespace {

struct Entry {
    std::string qualified;
    ClassFactory factory;
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Keyed by the lower-case name; both the plain and the qualified name lead to one entry.
std::map<std::string, Entry>& Classes() {
    static std::map<std::string, Entry> classes;
    return classes;
}

}  // namespace

void RegisterCreatableClass(const std::string& library, const std::string& className, ClassFactory factory) {
    Entry entry{library + "." + className, std::move(factory)};
    Classes()[Lower(className)] = entry;
    Classes()[Lower(entry.qualified)] = std::move(entry);
}

std::shared_ptr<Dispatch> CreateObject(const std::string& progId) {
    auto it = Classes().find(Lower(progId));
    if (it == Classes().end())
        throw HostError(kErrCannotCreateObject,
                        "ActiveX component can't create object: no class is registered as \"" + progId + "\"");
    return it->second.factory();
}

bool IsCreatableClass(const std::string& progId) { return Classes().count(Lower(progId)) != 0; }

std::vector<std::string> CreatableClassNames() {
    std::vector<std::string> names;
    for (const auto& [key, entry] : Classes())
        if (Lower(entry.qualified) == key) names.push_back(entry.qualified);
    return names;
}

}  // namespace brimlox::host
