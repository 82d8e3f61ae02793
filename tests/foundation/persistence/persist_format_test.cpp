// The stored text of form and control records: exact output, and a reader that takes back what
// the writer wrote and nothing else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/persistence/persist_format.h"

using namespace brimlox::foundation;

namespace {

typPersistControl SplitterRecord() {
    typPersistControl c;
    c.Name = "spl";
    c.Index = 2;
    c.Left = 120, c.Top = -45, c.Width = 3000, c.Height = 400;
    c.FloatWidth = 2500.5f, c.FloatHeight = 1800, c.FixedX = 0, c.FixedY = 7;
    c.Vertical = true;
    c.Dock = 3;
    c.Container = "frmMain";
    return c;
}

}  // namespace

TEST(PersistFormat, WritesNumbersWithoutTheLocaleAndWithTheirSignColumn) {
    typPersistForm form{.Top = 900, .Left = 1200, .Height = 4500, .Width = 6000, .State = 0};
    EXPECT_EQ(FormatFormValue(form), "1200, 900, 6000, 4500, 0");
    form.Left = -30, form.Top = -15.25f, form.State = 2;
    EXPECT_EQ(FormatFormValue(form), "-30,-15.25, 6000, 4500, 2");
    EXPECT_EQ(FormatWindowValue(SplitterRecord()), "spl, 3, 120,-45, 3000, 400, 2500.5, 1800, 0, 7, 1, 3,frmMain, 0");
    EXPECT_EQ(FormatLayoutNumber(1234567), " 1234567");
    EXPECT_EQ(FormatLayoutNumber(0.00001), " 0") << "no exponent, ever";
    EXPECT_EQ(FormatLayoutNumber(-0.0), " 0");
    EXPECT_EQ(FormatLayoutNumber(5e9), " 2000000") << "clamped to what the reader accepts";
}

TEST(PersistFormat, ReadsBackItsOwnTextAndRejectsEverythingElse) {
    auto form = ParseFormValue("1200, 900, 6000, 4500, 2");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->Left, 1200); EXPECT_EQ(form->Top, 900); EXPECT_EQ(form->Width, 6000);
    EXPECT_EQ(form->Height, 4500); EXPECT_EQ(form->State, 2);
    ASSERT_TRUE(ParseFormValue("-30,-15.25, 6000, 4500, 0"));
    EXPECT_EQ(ParseFormValue("-30,-15.25, 6000, 4500, 0")->Top, -15.25f);
    for (const char* bad : {"1200, 900, 6000, 4500", "1200, 900, 6000, 4500, 0, 1", "abc, 900, 6000, 4500, 0",
                            "1e12, 900, 6000, 4500, 0", "nan, 900, 6000, 4500, 0", "inf, 900, 6000, 4500, 0",
                            "1200, 900, 6000, 4500, &H1", "1200, 900, 0x10, 4500, 0", "1200, 900, 6000,, 0",
                            "1200, 9 00, 6000, 4500, 0", "--5, 900, 6000, 4500, 0", "1200, 900, 1.5.5, 4500, 0",
                            "3000000, 900, 6000, 4500, 0", "1200, 900, 200000, 4500, 0", "1200,900,6000,4500,-", ""})
        EXPECT_FALSE(ParseFormValue(bad)) << bad;
    for (const char* state : {"7", "-1", "1.5", "2000000"})
        EXPECT_EQ(ParseFormValue(std::string("0, 0, 100, 100, ") + state)->State, 0) << state;

    auto c = ParseWindowValue(FormatWindowValue(SplitterRecord()));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Name, "spl"); EXPECT_EQ(c->Index, 2); EXPECT_EQ(c->Top, -45); EXPECT_EQ(c->FloatWidth, 2500.5f);
    EXPECT_EQ(c->FixedY, 7); EXPECT_TRUE(c->Vertical); EXPECT_EQ(c->Dock, 3);
    EXPECT_EQ(c->Container, "frmMain"); EXPECT_EQ(c->ContainIdx, -1);
    const std::string head = "lbl, 0, 1, 2, 3, 4, 5, 6, 7, 8, ";
    EXPECT_TRUE(ParseWindowValue(head + "-1, 2,frmMain, 0")->Vertical) << "any non-zero is True";
    EXPECT_EQ(ParseWindowValue(head + "0, 9,frmMain, 0")->Dock, typPersistControl::kNoDock);
    EXPECT_EQ(ParseWindowValue(head + "0, 2.5,frmMain, 0")->Dock, typPersistControl::kNoDock);
    for (const std::string& bad : std::vector<std::string>{head + "0, 2,frmMain", head + "0, 2,frm,Main, 0", "l,bl, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 2,f, 0",
                                   head + "0, 2,frmMain, 1.5", head + "0, 2,frmMain,-1", head + "0, 2,frmMain, 40000",
                                   "lbl, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0, x,frmMain, 0", "lbl, 0, 1e3, 2, 3, 4, 5, 6, 7, 8, 0, 2,f, 0"})
        EXPECT_FALSE(ParseWindowValue(bad)) << bad;
}
