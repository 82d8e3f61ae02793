// The atomic-write helper every file of the project goes through, and the case it exists
// for: two processes saving one form file at once.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/kernel/atomic_file.h"
#include "support/paths.h"

namespace brimlox::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

fs::path FreshDir(const std::string& name) {
    fs::path dir = fs::path(TestOutputDir()) / "atomic-file" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Files in `dir` other than the ones named.
int OtherFiles(const fs::path& dir, const std::string& keep) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir)) n += e.path().filename() != keep;
    return n;
}

TEST(AtomicFile, ReplacesWholeFilesAndLeavesTheOldOneWhenAWriteFails) {
    const fs::path dir = FreshDir("replace");
    const fs::path file = dir / "out.txt";
    std::string error;
    ASSERT_TRUE(kernel::WriteFileAtomically(file, "first", &error)) << error;
    ASSERT_TRUE(kernel::WriteFileAtomically(file, "second", &error)) << error;
    EXPECT_EQ(ReadAll(file), "second");

    // A writer that fails half-way: the old file stays, its temporary file goes, and the
    // message names the target rather than the temporary file.
    const bool ok = kernel::WriteFileAtomically(
        file,
        [&](const std::string& into) {
            std::ofstream(into) << "half";
            error = "disk full while writing " + into;
            return false;
        },
        &error);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, "disk full while writing " + file.string());
    EXPECT_EQ(ReadAll(file), "second");
    EXPECT_EQ(OtherFiles(dir, "out.txt"), 0);

    // A folder is refused; a device is written in place, never replaced.
    EXPECT_FALSE(kernel::WriteFileAtomically(dir, "x", &error));
    EXPECT_EQ(error, "cannot write " + dir.string() + ": it is a folder");
    EXPECT_TRUE(kernel::WriteFileAtomically("/dev/null", "x", &error)) << error;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    // A folder that does not exist is reported, not thrown.
    EXPECT_FALSE(kernel::WriteFileAtomically(dir / "missing" / "f", "x", &error));
    EXPECT_NE(error.find("cannot write " + (dir / "missing" / "f").string() + ": "), std::string::npos) << error;

    // Temporary files of a writer that died are cleared by the next write; a live one's stay.
    const fs::path deadPid = dir / "out.txt.tmp.2147483646.0";  // no such process
    const fs::path livePid = dir / ("out.txt.tmp." + std::to_string(::getpid()) + ".99");
    std::ofstream(deadPid) << "x";
    std::ofstream(livePid) << "x";
    ASSERT_TRUE(kernel::WriteFileAtomically(file, "third", &error)) << error;
    EXPECT_FALSE(fs::exists(deadPid));
    EXPECT_TRUE(fs::exists(livePid));
}

TEST(AtomicFile, TwoProcessesSavingOneFormFileAtOnceLeaveOneCompleteFile) {
    const fs::path dir = FreshDir("two-processes");
    const std::string path = (dir / "shared.json").string();
    // A form of some size, so that each save takes a while and the two overlap.
    auto form = host::Form::Create("frmShared");
    for (int i = 0; i < 200; ++i) form->Add("Label", "lbl" + std::to_string(i))->Move(0, i * 15, 900, 15);

    // Each process saves its own caption many times; a save that fails exits with 1.
    auto saver = [&](const std::string& caption) {
        pid_t pid = ::fork();
        if (pid == 0) {
            form->SetCaption(caption);
            int status = 0;
            for (int i = 0; i < 40 && status == 0; ++i) {
                try {
                    host::SaveFormFile(*form, path);
                } catch (const std::exception&) {
                    status = 1;
                }
            }
            ::_exit(status);
        }
        return pid;
    };
    const pid_t a = saver("written by A");
    const pid_t b = saver("written by B");
    for (pid_t pid : {a, b}) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed in process " << pid;
    }
    form->SetCaption("written by A");
    const std::string byA = host::SaveFormText(*form);
    form->SetCaption("written by B");
    const std::string byB = host::SaveFormText(*form);
    const std::string onDisk = ReadAll(path);
    EXPECT_TRUE(onDisk == byA || onDisk == byB) << "the file is neither save, " << onDisk.size() << " bytes";
    EXPECT_EQ(OtherFiles(dir, "shared.json"), 0) << "temporary files were left";
    form->Discard();
}

}  // namespace
}  // namespace brimlox::test
