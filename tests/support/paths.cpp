#include "support/paths.h"

namespace brimlox::test {

const std::string& SourceDir() {
    static const std::string dir = BRIMLOX_SOURCE_DIR;
    return dir;
}

const std::string& TestOutputDir() {
    static const std::string dir = BRIMLOX_TEST_OUTPUT_DIR;
    return dir;
}

const std::string& GalleryExe() {
    static const std::string exe = BRIMLOX_GALLERY_EXE;
    return exe;
}

const std::string& CliExe() {
    static const std::string exe = BRIMLOX_CLI_EXE;
    return exe;
}

const std::string& FirstFormExe() {
    static const std::string exe = BRIMLOX_FIRST_FORM_EXE;
    return exe;
}

}  // namespace brimlox::test
