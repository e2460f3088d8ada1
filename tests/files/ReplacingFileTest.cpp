#include "files/ReplacingFile.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <thread>

namespace {

namespace fs = std::filesystem;
using th::files::FileError;
using th::files::replaceFile;
using th::files::ReplacingFile;
using th::testing::namesIn;
using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;
using Names = std::vector<std::string>;

unsigned modeOf(const fs::path& file)
{
    struct stat status {};
    EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
    return status.st_mode & 07777;
}

// The process's umask as the kernel reports it, read without changing it.
unsigned currentUmask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0)
            return unsigned(std::stoul(line.substr(6), nullptr, 8));
    ADD_FAILURE() << "no Umask line in /proc/self/status";
    return 0;
}

TEST(ReplacingFile, PermissionBitsAreKeptAndANewFileFollowsTheUmask)
{
    TempHome home;
    const unsigned mask = currentUmask();
    const struct {
        const char* what;
        int oldMode; // -1: no old file
        unsigned expected;
    } cases[] = {
        {"private file", 0600, 0600},
        {"group-readable file", 0640, 0640},
        {"executable script", 0755, 0755},
        {"new file", -1, 0666 & ~mask},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = home.path() / c.what;
        if (c.oldMode >= 0) {
            writeBytes(file, "old");
            ASSERT_EQ(::chmod(file.c_str(), mode_t(c.oldMode)), 0);
        }
        ASSERT_TRUE(replaceFile(file, "new").ok());
        EXPECT_EQ(readBytes(file), "new");
        EXPECT_EQ(modeOf(file), c.expected);
    }
    // No temporary is left behind.
    EXPECT_EQ(namesIn(home.path()), (Names{"executable script", "group-readable file", "new file", "private file"}));
}

// Each case names the path written, where the bytes must land, and which
// path must still be a symbolic link afterwards.
TEST(ReplacingFile, LinksAreWrittenThroughAndAnyAcceptedNameSaves)
{
    TempHome home;
    const fs::path folder = home.path();
    fs::create_directory(folder / "real");
    writeBytes(folder / "real" / "target.txt", "old");
    fs::create_symlink("real/target.txt", folder / "link.txt");
    fs::create_symlink(folder / "link.txt", folder / "link-to-link.txt");
    fs::create_symlink("real/not-yet.txt", folder / "dangling.txt");
    const std::string longName = std::string(246, 'n') + ".png"; // 250 bytes
    const struct {
        const char* what;
        fs::path written;
        fs::path holder;
        fs::path stillALink;
    } cases[] = {
        {"relative link", folder / "link.txt", folder / "real" / "target.txt", folder / "link.txt"},
        {"link to a link", folder / "link-to-link.txt", folder / "real" / "target.txt", folder / "link-to-link.txt"},
        {"link to a missing file", folder / "dangling.txt", folder / "real" / "not-yet.txt", folder / "dangling.txt"},
        {"250-byte name", folder / longName, folder / longName, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string content = std::string("through ") + c.what;
        ASSERT_TRUE(replaceFile(c.written, content).ok());
        EXPECT_EQ(readBytes(c.holder), content);
        EXPECT_TRUE(c.stillALink.empty() || fs::is_symlink(c.stillALink));
    }
    EXPECT_EQ(namesIn(folder), (Names{"dangling.txt", "link-to-link.txt", "link.txt", longName, "real"}));
    EXPECT_EQ(namesIn(folder / "real"), (Names{"not-yet.txt", "target.txt"}));
}

// Each failure has its cause, leaves the old file whole and no temporary.
TEST(ReplacingFile, FailuresAreTypedAndLeaveTheOldFileAndNoTemporary)
{
    TempHome home;
    const fs::path folder = home.path();
    writeBytes(folder / "plain-file", "a file");
    writeBytes(folder / "read-only.txt", "old");
    ::chmod((folder / "read-only.txt").c_str(), 0444);
    fs::create_directory(folder / "a-folder");
    const bool root = ::geteuid() == 0;
    const struct {
        const char* what;
        fs::path written;
        FileError cause;
    } cases[] = {
        {"missing folder", folder / "missing" / "x.txt", FileError::FolderMissing},
        {"path through a file", folder / "plain-file" / "x.txt", FileError::NotAFolder},
        {"folder in the way", folder / "a-folder", FileError::IsAFolder},
        {"name too long", folder / std::string(300, 'n'), FileError::NameTooLong},
        // Root may write any file.
        {"read-only file", folder / "read-only.txt", root ? FileError::None : FileError::Permission},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(replaceFile(c.written, "new").cause, c.cause);
    }
    EXPECT_EQ(readBytes(folder / "plain-file"), "a file");
    EXPECT_EQ(readBytes(folder / "read-only.txt"), root ? "new" : "old");

    // Written but never committed, as when a save is abandoned half way.
    writeBytes(folder / "kept.txt", "old");
    {
        ReplacingFile out(folder / "kept.txt");
        ASSERT_TRUE(out.isOpen());
        out.write(std::string(200'000, 'x'));
    }
    EXPECT_EQ(readBytes(folder / "kept.txt"), "old");
    EXPECT_EQ(namesIn(folder), (Names{"a-folder", "kept.txt", "plain-file", "read-only.txt"}));
}

// A process that dies mid-save leaves its temporary; the start-up sweep
// removes exactly that and none of the names that merely look like it.
TEST(ReplacingFile, ATemporaryLeftByADeadProcessIsSweptAndLookAlikesStay)
{
    TempHome home;
    const fs::path folder = home.path();
    writeBytes(folder / "prefs", "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ReplacingFile out(folder / "prefs");
        out.write("half");
        ::_exit(out.isOpen() ? 0 : 1); // no destructor, as in a crash
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    const Names lookAlikes = {".th-12345", ".th-1234567", ".th-12_456", ".tH-123456", "a.th-123456"};
    for (const std::string& name : lookAlikes)
        writeBytes(folder / name, "keep");
    fs::create_directory(folder / ".th-folder");
    fs::create_symlink("prefs", folder / ".th-linked");
    ASSERT_EQ(namesIn(folder).size(), lookAlikes.size() + 4) << "the dead writer's temporary is there";

    EXPECT_EQ(th::files::removeStaleTemporaries(folder), 1u);
    Names kept = lookAlikes;
    kept.insert(kept.end(), {".th-folder", ".th-linked", "prefs"});
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(folder), kept);
    EXPECT_EQ(readBytes(folder / "prefs"), "old");
}

TEST(ReplacingFile, AFolderThatTakesNoNewFileHasItsWritableFileWrittenInPlace)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores permission bits, so the folder would take the temporary";
    TempHome home;
    const fs::path folder = home.path() / "closed";
    fs::create_directory(folder);
    writeBytes(folder / "open.txt", "an old and longer text");
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    EXPECT_TRUE(replaceFile(folder / "open.txt", "new").ok());
    EXPECT_EQ(readBytes(folder / "open.txt"), "new");
    EXPECT_EQ(replaceFile(folder / "new.txt", "x").cause, FileError::Permission);
    ::chmod(folder.c_str(), 0755);
}

// Changing the umask to read it would let another thread create files with
// the wrong permissions in between; the writer never does.
TEST(ReplacingFile, SavingNeverChangesTheUmaskOtherThreadsSee)
{
    TempHome home;
    const unsigned mask = currentUmask();
    std::atomic<bool> saving{true};
    std::atomic<int> changes{0};
    std::thread watcher([&] {
        while (saving)
            if (currentUmask() != mask)
                ++changes;
    });
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(replaceFile(home.path() / ("new-" + std::to_string(i % 4)), "x").ok());
    saving = false;
    watcher.join();
    EXPECT_EQ(changes, 0);
}

} // namespace
