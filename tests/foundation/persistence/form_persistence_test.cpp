// The life of a persisted form: established once under the program's name, collected when the
// form closes, written when the control ends, removed on request; and the ways a run can go
// wrong (a cancelled close and a crash, an error in a control, no program name, two
// persisting controls on one form).
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "foundation/persistence/form_persistence.h"
#include "foundation/persistence/persist_state.h"
#include "persist_test.h"
#include "platform/kernel/module.h"

namespace brimlox::test {

namespace fs = std::filesystem;
using foundation::FormPersistence;
using host::Variant;

using PersistLifecycle = PersistTest;

TEST_F(PersistLifecycle, WhatTerminateWritesTheNextRunRestores) {
    {
        auto form = NewForm();
        auto spl = AddProbe(*form, kSplitProbe, "spl");
        auto lbl = form->Add("Label", "lbl");
        form->Load();
        FormPersistence p(Services());
        ASSERT_TRUE(p.PersistForm(form));
        EXPECT_FALSE(p.FormRestored());
        form->Move(1200, 900, 6000, 4500);
        EXPECT_FALSE(p.PersistForm(form)) << "a second PersistForm does nothing";
        EXPECT_EQ(form->Left(), 1200);
        spl->values["Vertical"] = Variant(true);
        spl->Move(100, 200, 3000, 400);
        lbl->Move(10, 20, 900, 300);
        ASSERT_TRUE(form->Unload());
        p.Terminate();
    }
    EXPECT_EQ(Stored("frmMain", "Form"), "1200, 900, 6000, 4500, 0");
    EXPECT_EQ(Stored("frmMain", "Window1"), "spl, 0, 100, 200, 3000, 400, 0, 0, 0, 0, 1, 0,frmMain, 0");
    EXPECT_EQ(Stored("frmMain", "Window2"), "lbl, 0, 10, 20, 900, 300, 0, 0, 0, 0, 0, 0,frmMain, 0");
    auto form = NewForm();
    auto spl = AddProbe(*form, kSplitProbe, "spl");
    auto lbl = form->Add("Label", "lbl");
    FormPersistence p(Services());
    p.PersistForm(form);
    EXPECT_TRUE(p.FormRestored());
    EXPECT_EQ(form->Left(), 1200); EXPECT_EQ(form->Height(), 4500);
    EXPECT_EQ(spl->Top(), 200); EXPECT_EQ(spl->values["Vertical"].ToInteger(), -1);
    EXPECT_EQ(lbl->Left(), 10); EXPECT_EQ(lbl->Width(), 900);
}

TEST_F(PersistLifecycle, ACancelledCloseFollowedByACrashLosesNoLayout) {
    const std::string lblRecord = "lbl, 0, 10, 20, 900, 300, 0, 0, 0, 0, 0, 0,frmMain, 0";
    Store("frmMain", "Window1", lblRecord);
    Store("frmMain", "Window2", "gone, 0, 10, 20, 900, 300, 0, 0, 0, 0, 0, 0,frmMain, 0");
    auto form = NewForm();
    form->Add("Label", "lbl");
    form->Load();
    auto p = std::make_unique<FormPersistence>(Services());
    p->PersistForm(form);
    bool cancel = true;
    form->Connect("QueryUnload", [&](std::span<Variant> a) { a[0] = Variant(cancel); });
    EXPECT_FALSE(form->Unload());
    EXPECT_FALSE(form->Unload());
    // A second persisting control lives through the same closes, then the process dies.
    auto crashed = std::make_unique<FormPersistence>(Services());
    crashed->PersistForm(form);
    EXPECT_FALSE(form->Unload());
    crashed.reset();
    EXPECT_EQ(Stored("frmMain", "Window1"), lblRecord);
    EXPECT_NE(Stored("frmMain", "Window2"), "<none>");
    // A close that goes through writes one fresh collection and drops the stale entry.
    cancel = false;
    ASSERT_TRUE(form->Unload());
    p->Terminate();
    EXPECT_EQ(p->ControlRecords().size(), 1u);
    EXPECT_EQ(Stored("frmMain", "Window1"), lblRecord);
    EXPECT_EQ(Stored("frmMain", "Window2"), "<none>");
}

TEST_F(PersistLifecycle, SplitterValuesComeBackOnceToTheirOwnControls) {
    auto form = NewForm();
    auto s1 = AddProbe(*form, kSplitProbe, "spl1"), s2 = AddProbe(*form, kSplitProbe, "spl2");
    auto s3 = AddProbe(*form, kSplitProbe, "spl3");
    for (auto& [s, a, f] : {std::tuple{s1, true, true}, {s2, false, true}, {s3, true, true}}) {
        s->values["AutoAdjust"] = Variant(a);
        s->values["AutoAdjustForm"] = Variant(f);
    }
    FormPersistence a(Services()), b(Services());
    a.PersistForm(form);
    EXPECT_EQ(a.Saved().AutoAdjust(), (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(s3->values["AutoAdjust"].ToBool()) << "held False while the layout settles";
    b.PersistForm(form);
    EXPECT_FALSE(b.Saved().Pending()) << "a second control must not save the temporary False values";
    form->Remove(*s1);
    auto late = AddProbe(*form, kSplitProbe, "splLate");
    // A control that paints inside the first paint's pump asks for another form paint.
    auto probe = std::static_pointer_cast<Probe>(form->Add("Probe", "prb"));
    int invalidations = 0;
    probe->onPaint = [&] { if (!invalidations++) InvalidateRect(form->hWnd(), nullptr, TRUE); };
    std::vector<int> letsSeenAtPaint;
    form->Connect("Paint", [&](std::span<Variant>) { letsSeenAtPaint.push_back(s3->lets["AutoAdjust"]); });
    form->Show();
    host::DoEvents();
    EXPECT_EQ(letsSeenAtPaint, (std::vector<int>{1, 2})) << "the nested paint came while values were held";
    EXPECT_FALSE(s2->values["AutoAdjust"].ToBool());
    EXPECT_TRUE(s2->values["AutoAdjustForm"].ToBool());
    EXPECT_TRUE(s3->values["AutoAdjust"].ToBool());
    EXPECT_EQ(s3->lets["AutoAdjust"], 2) << "set False once and given back once";
    EXPECT_EQ(late->lets["AutoAdjust"], 0) << "a control loaded later has nothing to get back";
    // After RemovePersistence the values are not given twice; a new PersistForm holds them again.
    a.RemovePersistence("frmMain");
    EXPECT_EQ(s3->lets["AutoAdjust"], 2);
    a.PersistForm(form);
    EXPECT_FALSE(s3->values["AutoAdjust"].ToBool());
    host::DoEvents();
    EXPECT_TRUE(s3->values["AutoAdjust"].ToBool());
    EXPECT_TRUE(late->values["AutoAdjust"].IsEmpty() || !late->values["AutoAdjust"].ToBool());
}

TEST_F(PersistLifecycle, AnErrorEscapingTheRestoreLeavesTheRestoreFlagClear) {
    auto form = NewForm();
    auto spl = AddProbe(*form, kSplitProbe, "spl");
    spl->onGet = [](const std::string& name) {
        if (name == "AutoAdjust") throw std::runtime_error("a control failed");
    };
    form->Load();
    FormPersistence p(Services());
    EXPECT_THROW(p.PersistForm(form), std::runtime_error);
    EXPECT_FALSE(foundation::LayoutRestoring());
    spl->onGet = nullptr;
    form->Move(1200, 900, 6000, 4500);
    ASSERT_TRUE(form->Unload());
    p.Terminate();
    EXPECT_EQ(Stored("frmMain", "Form"), "1200, 900, 6000, 4500, 0");
    EXPECT_EQ(Stored("frmMain", "Window1"), "spl, 0, 0, 0, 1200, 600, 0, 0, 0, 0, 0, 0,frmMain, 0");
}

TEST_F(PersistLifecycle, WithoutAProgramNameNothingIsEstablished) {
    const std::string exe = fs::read_symlink("/proc/self/exe").string();
    char buffer[4096];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, n), exe);
    EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, sizeof buffer), n);
    EXPECT_EQ(GetModuleFileNameA(HandleFromValue<HMODULE>(0x12340000), buffer, sizeof buffer), 0u);
    char small[5];
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 5u);
    EXPECT_EQ(std::string(small), exe.substr(0, 4));

    // The program's own instance handle is wider than 16 bits and names the program.
    foundation::SetRegistryLocation("");
    auto form = NewForm();
    SetWindowLongPtrA(form->hWnd(), GWL_HINSTANCE, HandleValue(GetModuleHandleA(nullptr)));
    FormPersistence p(Services());
    ASSERT_TRUE(p.PersistForm(form));
    EXPECT_EQ(foundation::RegistryLocation(), exe);

    foundation::SetRegistryLocation("");
    auto other = NewForm("frmOther");
    SetWindowLongPtrA(other->hWnd(), GWL_HINSTANCE, 0x12340000);
    other->Load();
    FormPersistence q(Services());
    EXPECT_FALSE(q.PersistForm(other));
    EXPECT_FALSE(q.Established());
    EXPECT_EQ(foundation::RegistryLocation(), "");
    other->Move(1200, 900, 6000, 4500);
    ASSERT_TRUE(other->Unload());
    q.Terminate();
    EXPECT_TRUE(!fs::exists(root) || fs::is_empty(root)) << "nothing is written under an empty name";
    host::ClearMessageBoxLog();
    q.RemovePersistence("frmOther");
    ASSERT_EQ(host::MessageBoxLog().size(), 1u);
    EXPECT_EQ(host::MessageBoxLog()[0].text,
              "Persistence must be established\nby calling the PersistForm method\nbefore persistence can be removed!");
    EXPECT_EQ(host::MessageBoxLog()[0].style, MB_OK | MB_ICONEXCLAMATION);
}

TEST_F(PersistLifecycle, RemovePersistenceDeletesItsOwnApplicationsLayoutsOnly) {
    const std::string app = "/some/path/app";
    foundation::SetRegistryLocation(app);
    const std::string others[] = {"/some/path/app2", "/some/path", "some/path/app", "app", kTestApp};
    for (const std::string& name : others) ASSERT_TRUE(store->SaveSetting(name, "frmMain", "Form", "1, 2, 3, 4, 0"));
    ASSERT_TRUE(store->SaveSetting(app, "frmMain", "Form", "1200, 900, 6000, 4500, 0"));
    ASSERT_TRUE(store->SaveSetting(app, "frmOther", "Form", "1200, 900, 6000, 4500, 0"));
    EXPECT_EQ(store->FileFor(app).parent_path(), root);
    auto form = NewForm();
    form->Load();
    FormPersistence p(Services());
    p.PersistForm(form);
    EXPECT_TRUE(p.FormRestored());
    p.RemovePersistence("frmOther");
    EXPECT_EQ(store->GetSetting(app, "frmOther", "Form"), "");
    EXPECT_NE(store->GetSetting(app, "frmMain", "Form"), "");
    EXPECT_TRUE(p.Established()) << "another form's layout went, this one's persistence stays";
    p.RemovePersistence();
    EXPECT_FALSE(fs::exists(store->FileFor(app))) << "every form of the application";
    EXPECT_FALSE(p.Established());
    for (const std::string& name : others) EXPECT_EQ(store->GetSetting(name, "frmMain", "Form"), "1, 2, 3, 4, 0") << name;
    ASSERT_TRUE(form->Unload());
    p.Terminate();
    EXPECT_FALSE(fs::exists(store->FileFor(app))) << "nothing is written once persistence was removed";
}

}  // namespace brimlox::test
