// `brimlox render`, `brimlox run`, `brimlox check` and `brimlox a11y`: the commands that work on form files.
// Exit codes: 0 done, 1 a runtime failure (the form could not be shown or written), 2 bad
// usage or a bad form file. Problems go to standard error, one line each.
#pragma once

namespace brimlox::cli {

int RunRender(int argc, char** argv);
int RunForm(int argc, char** argv);
int RunCheck(int argc, char** argv);
int RunA11y(int argc, char** argv);

extern const char* const kRenderUsage;
extern const char* const kRunUsage;
extern const char* const kCheckUsage;
extern const char* const kA11yUsage;

}  // namespace brimlox::cli
