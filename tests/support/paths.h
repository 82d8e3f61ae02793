#pragma once
// Where the test program finds the source tree, its own output folder and the programs it
// runs as subprocesses. The paths are compiled into one file only, so the other test files
// do not depend on where the tree was checked out.
#include <string>

namespace brimlox::test {

const std::string& SourceDir();
const std::string& TestOutputDir();
const std::string& GalleryExe();
const std::string& CliExe();
const std::string& FirstFormExe();

}  // namespace brimlox::test
