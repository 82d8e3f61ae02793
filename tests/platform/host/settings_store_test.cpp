// The per-user settings store: values, deletion, safe file names, corrupt files, several
// processes, and a writer killed in the middle of a write.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/host/settings_file.h"
#include "platform/host/settings_store.h"
#include "support/gdi_test.h"

namespace fs = std::filesystem;
using brimlox::host::SettingsStore;

namespace {

fs::path FreshRoot(const std::string& name) {
    fs::path root = fs::path(brimlox::test::OutputDir()) / "settings" / name;
    fs::remove_all(root);
    return root;
}

// Runs `body` in a child process and returns its exit status.
template <typename F>
int InChild(F body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(SettingsStore, ValuesKeepTheirOrderAndDeleteByKeySectionAndApplication) {
    SettingsStore store(FreshRoot("values"));
    EXPECT_EQ(store.GetSetting("app", "frmMain", "Form", "none"), "none");
    ASSERT_TRUE(store.SaveSetting("app", "frmMain", "Window2", "b"));
    ASSERT_TRUE(store.SaveSetting("app", "frmMain", "Window1", "a"));
    ASSERT_TRUE(store.SaveSetting("app", "frmMain", "Window2", "b2"));
    ASSERT_TRUE(store.SaveSetting("app", "frmOther", "Form", "1200, 900, 6000, 4500, 0"));
    auto all = store.GetAllSettings("app", "frmMain");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], (std::pair<std::string, std::string>{"Window2", "b2"}));
    EXPECT_EQ(all[1].first, "Window1");
    EXPECT_TRUE(store.DeleteSetting("app", "frmMain", "Window2"));
    EXPECT_FALSE(store.DeleteSetting("app", "frmMain", "Window2")) << "already gone";
    EXPECT_EQ(store.GetSetting("app", "frmMain", "Window2"), "");
    EXPECT_TRUE(store.DeleteSetting("app", "frmMain"));
    EXPECT_EQ(store.GetSetting("app", "frmMain", "Window1"), "");
    EXPECT_EQ(store.GetSetting("app", "frmOther", "Form"), "1200, 900, 6000, 4500, 0");
    EXPECT_TRUE(store.DeleteSetting("app"));
    EXPECT_EQ(store.GetSetting("app", "frmOther", "Form"), "");
    EXPECT_TRUE(store.Problems().empty());
}

TEST(SettingsStore, AnyApplicationNameMapsToOneSafeDistinctFile) {
    fs::path root = FreshRoot("names");
    SettingsStore store(root);
    const std::string names[] = {"C:\\Program Files\\App\\app.exe", "/usr/bin/app", "..", "", "a/b",
                                 "a%2Fb", std::string(1000, 'x'), std::string(1000, 'x') + "y"};
    std::set<fs::path> files;
    for (const std::string& n : names) {
        fs::path f = store.FileFor(n);
        EXPECT_EQ(f.parent_path(), root) << n;
        EXPECT_LE(f.filename().string().size(), 255u);
        EXPECT_NE(f.filename().string()[0], '.');
        files.insert(f);
        ASSERT_TRUE(store.SaveSetting(n, "s", "k", n.substr(0, 10)));
    }
    EXPECT_EQ(files.size(), std::size(names)) << "different names never share a file";
    for (const std::string& n : names) EXPECT_EQ(store.GetSetting(n, "s", "k"), n.substr(0, 10));
}

TEST(SettingsStore, CorruptFileIsSetAsideReportedAndReadAsEmpty) {
    fs::path root = FreshRoot("corrupt");
    SettingsStore store(root);
    ASSERT_TRUE(store.SaveSetting("app", "s", "k", "v"));
    std::ofstream(store.FileFor("app")) << "{\"format\": \"brimlox-settings\", \"version\": 1, \"sections\": {\"s\": [";
    EXPECT_EQ(store.GetSetting("app", "s", "k", "fallback"), "fallback");
    ASSERT_EQ(store.Problems().size(), 1u);
    EXPECT_NE(store.Problems()[0].find("not valid JSON"), std::string::npos) << store.Problems()[0];
    bool keptAside = false;
    for (const auto& e : fs::directory_iterator(root))
        keptAside |= e.path().filename().string().find(".corrupt-") != std::string::npos;
    EXPECT_TRUE(keptAside) << "the damaged file is kept for the user";
    EXPECT_TRUE(store.SaveSetting("app", "s", "k", "new"));
    EXPECT_EQ(store.GetSetting("app", "s", "k"), "new");

    std::string error;
    EXPECT_FALSE(brimlox::host::ParseSettings(R"({"format":"brimlox-settings","version":1,"sections":{"s":{"k":5}}})", &error));
    EXPECT_EQ(error, "value of \"s\"/\"k\" is not a string");
    EXPECT_FALSE(brimlox::host::ParseSettings("11E1111111111111111", &error)) << "a number too large to hold";
    EXPECT_NE(error.find("not valid JSON"), std::string::npos) << error;
    EXPECT_FALSE(brimlox::host::ParseSettings(R"({"format":"other","version":1,"sections":{}})", &error));
    EXPECT_NE(error.find("format"), std::string::npos);
}

TEST(SettingsStore, ProcessesShareValuesWithoutLosingConcurrentUpdates) {
    fs::path root = FreshRoot("processes");
    {
        SettingsStore writer(root);
        ASSERT_EQ(InChild([&] { ::_exit(writer.SaveSetting("app", "s", "fromChild", "42") ? 0 : 1); }), 0);
    }
    SettingsStore reader(root);
    EXPECT_EQ(reader.GetSetting("app", "s", "fromChild"), "42");

    // Four writers adding their own keys at once: the lock makes every update survive.
    std::vector<pid_t> children;
    for (int c = 0; c < 4; ++c) {
        pid_t pid = ::fork();
        if (pid == 0) {
            SettingsStore own(root);
            for (int k = 0; k < 15; ++k) own.SaveSetting("app", "s", "c" + std::to_string(c) + "k" + std::to_string(k), "v");
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(reader.GetAllSettings("app", "s").size(), 61u);
}

TEST(SettingsStore, WriterKilledBeforeItsRenameLosesNothingAlreadyStored) {
    fs::path root = FreshRoot("crash");
    SettingsStore store(root);
    ASSERT_TRUE(store.SaveSetting("app", "frmMain", "Form", "1200, 900, 6000, 4500, 0"));
    int status = InChild([&] {
        ::setenv("BRIMLOX_SETTINGS_FAULT", "before-rename", 1);
        SettingsStore dying(root);
        dying.SaveSetting("app", "frmMain", "Form", "0, 0, 0, 0, 2");
    });
    EXPECT_EQ(status, 70) << "the injected fault ends the writer";
    EXPECT_EQ(store.GetSetting("app", "frmMain", "Form"), "1200, 900, 6000, 4500, 0");
    // The next successful write clears the dead writer's temporary file.
    ASSERT_TRUE(store.SaveSetting("app", "frmMain", "Window1", "x"));
    int leftovers = 0;
    for (const auto& e : fs::directory_iterator(root)) leftovers += e.path().string().find(".tmp.") != std::string::npos;
    EXPECT_EQ(leftovers, 0);
    EXPECT_TRUE(store.Problems().empty());
}

namespace {

int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

}  // namespace

// Section, key and value may hold any 8-bit code-page text (a folder name with accents): the
// file stays valid UTF-8 JSON, the bytes come back as they were, nothing throws.
TEST(SettingsStore, EightBitTextIsStoredFaithfullyAsUtf8) {
    fs::path root = FreshRoot("eight-bit");
    SettingsStore store(root);
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string folder = "C:\\Dokumente\\M\xFCller \x80";
    ASSERT_TRUE(store.SaveSetting("app", "Men\xFC", "Ordner \xE9", folder));
    ASSERT_TRUE(store.SaveSetting("app", "Men\xFC", "all", all));
    EXPECT_EQ(store.GetSetting("app", "Men\xFC", "Ordner \xE9"), folder);
    EXPECT_EQ(store.GetSetting("app", "Men\xFC", "all"), all);
    auto entries = store.GetAllSettings("app", "Men\xFC");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].first, "Ordner \xE9");
    std::ifstream in(store.FileFor("app"));
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("M\xC3\xBCller \xE2\x82\xAC"), std::string::npos) << text;
    std::string error;
    EXPECT_TRUE(brimlox::host::ParseSettings(text, &error)) << error;
    EXPECT_TRUE(store.DeleteSetting("app", "Men\xFC", "Ordner \xE9"));
    EXPECT_EQ(store.GetSetting("app", "Men\xFC", "Ordner \xE9", "gone"), "gone");
    EXPECT_TRUE(store.Problems().empty());
}

// A write that fails (here: the file size limit of a full disk) reports false, keeps the old
// value, leaves no temporary file and no open descriptor.
TEST(SettingsStore, FailedWriteKeepsTheOldFileAndCleansUp) {
    fs::path root = FreshRoot("full");
    SettingsStore store(root);
    ASSERT_TRUE(store.SaveSetting("app", "s", "k", "old"));
    int status = InChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        SettingsStore full(root);
        const int before = OpenDescriptors();
        const bool saved = full.SaveSetting("app", "s", "k", std::string(4096, 'x'));
        ::_exit(saved ? 1 : OpenDescriptors() != before ? 2 : full.Problems().empty() ? 3 : 0);
    });
    EXPECT_EQ(status, 0) << "1 saved, 2 leaked a descriptor, 3 reported nothing";
    EXPECT_EQ(store.GetSetting("app", "s", "k"), "old");
    for (const auto& e : fs::directory_iterator(root))
        EXPECT_EQ(e.path().string().find(".tmp."), std::string::npos) << e.path();
}

// Two corrupt files set aside in the same second keep distinct names.
TEST(SettingsStore, CorruptFilesSetAsideTogetherKeepDistinctNames) {
    fs::path root = FreshRoot("corrupt-twice");
    SettingsStore store(root);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(store.SaveSetting("app", "s", "k", "v"));
        std::ofstream(store.FileFor("app")) << "broken " << i;
        EXPECT_EQ(store.GetSetting("app", "s", "k", "none"), "none");
    }
    std::set<std::string> kept;
    for (const auto& e : fs::directory_iterator(root)) {
        if (e.path().filename().string().find(".corrupt-") == std::string::npos) continue;
        std::ifstream in(e.path());
        kept.insert(std::string((std::istreambuf_iterator<char>(in)), {}));
    }
    EXPECT_EQ(kept, (std::set<std::string>{"broken 0", "broken 1", "broken 2"}));
    EXPECT_EQ(store.Problems().size(), 3u);
}

// Several keys in one update, with the keys a predicate picks removed in the same update.
TEST(SettingsStore, SeveralKeysAreSavedAndRemovedInOneUpdate) {
    fs::path root = FreshRoot("several");
    SettingsStore store(root);
    ASSERT_TRUE(store.SaveSettings("app", "frm", {{"Form", "1"}, {"Window1", "a"}, {"Window2", "b"}, {"Window3", "c"}}));
    ASSERT_TRUE(store.SaveSetting("app", "frm", "Other", "kept"));
    ASSERT_TRUE(store.SaveSettings("app", "frm", {{"Form", "2"}, {"Window1", "A"}},
                                   [](const std::string& key) { return key.rfind("Window", 0) == 0; }));
    auto entries = store.GetAllSettings("app", "frm");
    EXPECT_EQ(entries, (std::vector<std::pair<std::string, std::string>>{{"Form", "2"}, {"Other", "kept"}, {"Window1", "A"}}));
}
