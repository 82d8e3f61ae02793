// The registry of creatable classes: objects that are not controls (an off-screen buffer, a
// rotatable font) but that code creates by name, as CreateObject("Library.Class") does, and
// then uses only through late-bound calls. A library registers each of its public classes
// under its own name and its library-qualified name.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/variant.h"

namespace brimlox::host {

using ClassFactory = std::function<std::shared_ptr<Dispatch>()>;

// Registers `className` of `library`: CreateObject accepts "Class" and "Library.Class",
// in any letter case.
void RegisterCreatableClass(const std::string& library, const std::string& className, ClassFactory factory);
// A new instance of a registered class; raises runtime error 429 naming the class for a
// name nobody registered.
std::shared_ptr<Dispatch> CreateObject(const std::string& progId);
bool IsCreatableClass(const std::string& progId);
// The registered names, library-qualified ("Brimlox.HiddenBuffer").
std::vector<std::string> CreatableClassNames();

}  // namespace brimlox::host
