// A form's layout is saved whole: processes killed at random moments while saving, and two
// processes saving the same form at once, never leave records of two sessions mixed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "foundation/persistence/form_persistence.h"
#include "persist_test.h"
#include "platform/host/form.h"

namespace brimlox::test {
namespace {

using foundation::FormPersistence;
using PersistSave = PersistTest;

// The first number after `skip` commas of a record.
long Field(const std::string& value, int skip) {
    std::size_t at = 0;
    for (int i = 0; i < skip && at != std::string::npos; ++i) at = value.find(',', at + 1);
    return at == std::string::npos ? -1 : std::strtol(value.c_str() + at + (skip ? 1 : 0), nullptr, 10);
}

// The number of labels a session of generation `gen` has: it varies, so a save that removed
// too few or too many records shows.
int LabelsOf(long gen) { return 6 + static_cast<int>(gen % 5); }

// One session: a form with its labels placed by the generation, persisted, closed and ended.
void SaveSession(host::SettingsStore& store, long gen) {
    auto form = host::Form::Create("frmMain");
    std::vector<std::shared_ptr<host::Control>> labels;
    for (int i = 0; i < LabelsOf(gen); ++i) labels.push_back(form->Add("Label", "lbl" + std::to_string(i)));
    form->Load();
    FormPersistence p({&store, ClassifyProbes});
    p.PersistForm(form);
    // Whole pixels (10 twips each here), so the twips written are the twips set.
    form->Move(static_cast<int>(gen) * 10, 0, 6000, 4500);
    for (std::size_t i = 0; i < labels.size(); ++i) labels[i]->Move(static_cast<int>(gen) * 10, static_cast<int>(i) * 10, 900, 300);
    form->Unload();
    p.Terminate();
}

// Checks the stored layout is one session's whole: the form and every record carry the same
// generation, and exactly that session's records are there. Returns the generation (0: none).
long ExpectWhole(host::SettingsStore& store) {
    auto entries = store.GetAllSettings(kTestApp, "frmMain");
    if (entries.empty()) return 0;
    EXPECT_EQ(entries[0].first, "Form");
    const long gen = Field(entries[0].second, 0) / 10;
    EXPECT_EQ(static_cast<int>(entries.size()) - 1, LabelsOf(gen)) << entries[0].second;
    for (std::size_t k = 1; k < entries.size(); ++k) {
        EXPECT_EQ(entries[k].first, "Window" + std::to_string(k));
        EXPECT_EQ(Field(entries[k].second, 2), gen * 10) << entries[k].first << " = " << entries[k].second;
    }
    return gen;
}

TEST_F(PersistSave, KilledSavesLeaveTheLastWholeLayout) {
    std::mt19937 random(19);
    int kills = 0;
    // One session here first: the children start from a process whose fonts and classes are
    // ready, so their time goes to saving, where the kills should land.
    SaveSession(*store, 1);
    long lastSeen = ExpectWhole(*store);
    int advanced = 0;  // rounds in which the child completed at least one save
    for (long round = 1; round <= 200; ++round) {
        // The child tells after each whole session; the kill comes at a random moment after
        // the first, so it lands inside later sessions, mostly inside their save.
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            host::SettingsStore own(root);
            for (long gen = round * 100;; ++gen) {
                SaveSession(own, gen);
                (void)!::write(ready[1], "s", 1);
            }
        }
        ::close(ready[1]);
        char byte;
        (void)!::read(ready[0], &byte, 1);
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 12000)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(ready[0]);
        kills += WIFSIGNALED(status);
        const long gen = ExpectWhole(*store);
        if (HasFailure()) break;
        EXPECT_GE(gen, lastSeen) << "a kill never brings back an older layout";
        advanced += gen > lastSeen;
        lastSeen = gen;
    }
    EXPECT_GE(kills, 200);
    EXPECT_EQ(advanced, 200) << "every child saved at least once before its kill";
    std::printf("%d kills, %d rounds with completed saves\n", kills, advanced);
}

TEST_F(PersistSave, ConcurrentSavesOfOneFormLetTheLastWriterWinWhole) {
    std::vector<pid_t> children;
    for (long base : {10000L, 20000L}) {
        pid_t child = ::fork();
        if (child == 0) {
            host::SettingsStore own(root);
            for (long gen = base; gen < base + 25; ++gen) SaveSession(own, gen);
            ::_exit(0);
        }
        children.push_back(child);
    }
    // Read while both write: every snapshot is whole.
    for (int read = 0; read < 40; ++read) {
        ExpectWhole(*store);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    for (pid_t child : children) ::waitpid(child, nullptr, 0);
    const long gen = ExpectWhole(*store);
    EXPECT_TRUE(gen == 10024 || gen == 20024) << gen;
}

}  // namespace
}  // namespace brimlox::test
