// Every control of the library shows the project's version in its About box, the version
// `brimlox --version` prints (one place for the version: the project's own).
#include "../platform/host/host_test.h"

#include "controls/library.h"
#include "platform/host/type_info.h"

namespace brimlox::test {
namespace {

using AboutBox = HostTest;

TEST_F(AboutBox, EveryControlShowsTheProjectVersion) {
    EXPECT_STREQ(controls::Version(), BRIMLOX_PROJECT_VERSION);
    auto form = host::Form::Create("frmAbout");
    for (const auto& type : controls::LibraryControlTypes()) {
        auto control = form->Add(type);
        host::ClearMessageBoxLog();
        host::CallMethod(*control, "ShowAboutBox");
        ASSERT_EQ(host::MessageBoxLog().size(), 1u) << type;
        EXPECT_NE(host::MessageBoxLog()[0].text.find(BRIMLOX_PROJECT_VERSION), std::string::npos)
            << type << ": " << host::MessageBoxLog()[0].text;
    }
    form->Unload();
}

}  // namespace
}  // namespace brimlox::test
