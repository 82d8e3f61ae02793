// `brimlox menu-edit FORM.json CONTROL`: opens the Menu property page for one Command or
// TrayIcon of a form file, live or under an input script, and saves the form file each time
// the page is applied (OK or Apply). Exit codes: 0 done, 1 a runtime failure (the page could
// not be shown or the file not written), 2 bad usage or a bad form file.
#pragma once

namespace brimlox::cli {

int RunMenuEdit(int argc, char** argv);
extern const char* const kMenuEditUsage;

}  // namespace brimlox::cli
