// The registry of control types the host can create by name: form files name a control's
// type, and Form::Add creates one. The host's standard controls register themselves when the
// host starts; a library of controls registers its own types the same way.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brimlox::host {

class Control;

using ControlFactory = std::function<std::shared_ptr<Control>()>;

void RegisterControlType(const std::string& typeName, ControlFactory factory);
// A new, unsited instance; nullptr for a type nobody registered.
std::shared_ptr<Control> CreateControl(const std::string& typeName);
bool IsControlType(const std::string& typeName);
std::vector<std::string> ControlTypeNames();

// A name the host accepts for a form or control: a letter, then letters, digits or
// underscores, at most 40 characters.
bool IsValidName(const std::string& name);

}  // namespace brimlox::host
