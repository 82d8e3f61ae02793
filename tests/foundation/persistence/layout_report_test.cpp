// Stored records a restore cannot use are named to the user in one message; records of
// controls that are gone are an ordinary older layout and pass silently.
#include <gtest/gtest.h>

#include "foundation/persistence/form_persistence.h"
#include "persist_test.h"

namespace brimlox::test {

using foundation::FormPersistence;

using PersistReport = PersistTest;

TEST_F(PersistReport, UnusableRecordsAreNamedInOneMessage) {
    auto form = NewForm();
    auto outer = AddProbe(*form, kSplitProbe, "splOuter");
    auto inner = AddProbe(*form, kSplitProbe, "splInner", outer.get());
    Store("frmMain", "Window1", "splOuter, 0, 1e300, 5");
    Store("frmMain", "Window2", "splOuter, 0, 0, 0, 900, 900, 0, 0, 0, 0, 0, 0,splInner, 0");
    Store("frmMain", "Window3", "lblGone, 0, 0, 0, 900, 900, 0, 0, 0, 0, 0, 0,frmMain, 0");
    Store("frmMain", "Window4", "splInner, 0, 99999999, 0, 900, 900, 0, 0, 0, 0, 0, 0,splOuter, 0");
    host::ClearMessageBoxLog();
    FormPersistence p(Services());
    ASSERT_TRUE(p.PersistForm(form));
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::MessageBoxLog()[0].text,
              "Parts of the saved layout of frmMain were not used:\n"
              "Window1: 4 fields instead of 14\n"
              "Window2: splOuter cannot go into splInner\n"
              "Window4: a value out of range");
    EXPECT_EQ(outer->ContainerControl(), nullptr) << "no cycle of containers";
    EXPECT_EQ(inner->ContainerControl(), outer.get());

    // A layout whose records all fit raises no message.
    host::ClearMessageBoxLog();
    auto other = NewForm("frmOther");
    AddProbe(*other, kSplitProbe, "splOuter");
    Store("frmOther", "Window1", "lblGone, 0, 0, 0, 900, 900, 0, 0, 0, 0, 0, 0,frmOther, 0");
    FormPersistence q(Services());
    ASSERT_TRUE(q.PersistForm(other));
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

}  // namespace brimlox::test
