// The host's MsgBox: it returns the answer of the box it showed and keeps it in its log.
#include "host_test.h"
#include "platform/user/msgbox.h"

namespace brimlox::test {
namespace {

using MsgBoxTest = HostTest;

TEST_F(MsgBoxTest, MsgBoxReturnsAndLogsTheAnswerOfItsBox) {
    EXPECT_EQ(host::MsgBox("Saved."), IDOK);
    EXPECT_EQ(host::MsgBox("Save changes to Form1?", MB_YESNOCANCEL | MB_ICONQUESTION, "Designer"), IDYES);
    user::QueueMessageBoxAnswers({IDNO, IDCANCEL, IDRETRY});
    EXPECT_EQ(host::MsgBox("Save changes to Form2?", MB_YESNOCANCEL | MB_ICONQUESTION, "Designer"), IDNO);
    EXPECT_EQ(host::MsgBox("Save changes to Form3?", MB_YESNOCANCEL | MB_DEFBUTTON2, "Designer"), IDCANCEL);
    EXPECT_EQ(host::MsgBox("Overwrite?", MB_YESNO | MB_DEFBUTTON2), IDNO) << "Retry refused: the default";
    const auto& log = host::MessageBoxLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].answer, IDOK);
    EXPECT_EQ(log[1].answer, IDYES);
    EXPECT_EQ(log[2].answer, IDNO);
    EXPECT_EQ(log[2].style, MB_YESNOCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(log[2].title, "Designer");
    EXPECT_EQ(log[3].answer, IDCANCEL);
    EXPECT_EQ(log[4].answer, IDNO);
    ASSERT_EQ(user::MessageBoxLog().size(), 5u);
    EXPECT_EQ(user::MessageBoxLog()[4].refused, IDRETRY);
}

}  // namespace
}  // namespace brimlox::test
