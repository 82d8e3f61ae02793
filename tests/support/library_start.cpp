// The test program registers the library's control types and classes once, before any test
// runs, as every program using the library does at its start.
#include "controls/library.h"

namespace {

const bool kLibraryRegistered = (brimlox::controls::RegisterLibrary(), true);

}  // namespace
