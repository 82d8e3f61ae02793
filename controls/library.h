// The library's table of types. A program calls RegisterLibrary once before it creates
// controls by name or loads a form file: the host starts, and every control type and public
// class of the library becomes known to it. The registration is an ordinary call rather than
// static initialisers, so a program linked against the static library gets every type too.
#pragma once

#include <string>
#include <vector>

namespace brimlox::controls {

// Starts the host (host::StartHost) and registers the control types (Command, ScrollBar,
// ProgressBar, Divider) and the creatable classes (HiddenBuffer, CLogFont). Later calls do
// nothing.
void RegisterLibrary();

// The library's control types and public classes by name, in table order.
const std::vector<std::string>& LibraryControlTypes();
const std::vector<std::string>& LibraryClasses();

// The library's version ("0.1.0"): the project version it was built with, which the programs'
// --version and the controls' About boxes show.
const char* Version();

}  // namespace brimlox::controls
