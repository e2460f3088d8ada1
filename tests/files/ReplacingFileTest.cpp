#include "files/ReplacingFile.h"

#include "files/LiveTemporaries.h"
#include "files/TextFile.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <atomic>
#include <fstream>
#include <functional>
#include <thread>
#include <tuple>

namespace {

namespace fs = std::filesystem;
using th::files::FileError;
using th::files::replaceFile;
using th::files::ReplacingFile;
using th::files::TextWriter;
using th::testing::namesIn;
using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;
using Names = std::vector<std::string>;

// An unprivileged user for root to hand files to and to run as.
constexpr uid_t kNobody = 65534;

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

// Runs `work` in a child process, as an unprivileged user when asked and the
// test runs as root (who may write into any folder); the child's exit status.
int inChild(const std::function<int()>& work, bool unprivileged = false)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (unprivileged && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(126);
        ::_exit(work());
    }
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    return status;
}

// A replace lands in the file the path names, through any symbolic links
// (which stay links), keeps that file's permission bits and owner (another
// user's only where the system lets the writer give files away: as root),
// gives a new file what the umask allows, and leaves no temporary. Reading
// the umask would mean changing it, letting another thread create files with
// the wrong permissions in between: the writer never does.
TEST(ReplacingFile, KeepsModeOwnerAndLinksRefusesWhatItMayNotReplaceAndNeverLeavesATemporary)
{
    TempHome home;
    const fs::path folder = home.path();
    const unsigned mask = currentUmask();
    const unsigned fresh = 0666 & ~mask;
    const bool root = ::geteuid() == 0;
    std::atomic<int> umaskChanges{0};
    std::jthread watcher([&](const std::stop_token& stop) {
        while (!stop.stop_requested())
            if (currentUmask() != mask)
                ++umaskChanges;
    });
    fs::create_directory(folder / "real");
    writeBytes(folder / "real" / "target.txt", "old");
    fs::create_symlink("real/target.txt", folder / "link.txt");
    fs::create_symlink(folder / "link.txt", folder / "link-to-link.txt");
    fs::create_symlink("real/not-yet.txt", folder / "dangling.txt");
    const std::string longName = std::string(246, 'n') + ".png"; // 250 bytes
    const struct {
        const char* what;
        std::string written;
        std::string holder; // where the bytes land when `written` is a link
        int oldMode;        // -1: no old file made for the row, which gets `fresh`
        bool anotherOwner = false;
    } cases[] = {
        {"executable script", "script", "", 0755},
        {"new file", "new", "", -1},
        {"250-byte name", longName, "", -1},
        {"another user's file", "theirs", "", 0640, true},
        {"relative link", "link.txt", "real/target.txt", -1},
        {"link to a link", "link-to-link.txt", "real/target.txt", -1},
        {"link to a missing file", "dangling.txt", "real/not-yet.txt", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.anotherOwner && !root)
            continue;
        const fs::path holder = folder / (c.holder.empty() ? c.written : c.holder);
        if (c.oldMode >= 0) {
            writeBytes(holder, "old");
            ASSERT_EQ(::chmod(holder.c_str(), mode_t(c.oldMode)), 0);
        }
        if (c.anotherOwner) {
            ASSERT_EQ(::chown(holder.c_str(), kNobody, kNobody), 0);
        }
        const std::string content = std::string("through ") + c.what;
        ASSERT_TRUE(replaceFile(folder / c.written, content).ok());
        struct stat status {};
        ASSERT_EQ(::stat(holder.c_str(), &status), 0);
        EXPECT_EQ(std::tuple(readBytes(holder), fs::is_symlink(folder / c.written), status.st_mode & 07777,
                             status.st_uid, status.st_gid),
                  std::tuple(content, !c.holder.empty(), c.oldMode >= 0 ? unsigned(c.oldMode) : fresh,
                             c.anotherOwner ? kNobody : ::geteuid(), c.anotherOwner ? kNobody : ::getegid()));
    }
    Names expected = {"dangling.txt", "link-to-link.txt", "link.txt", "new", longName, "real", "script"};
    if (root)
        expected.push_back("theirs");
    EXPECT_EQ(namesIn(folder), expected);
    EXPECT_EQ(namesIn(folder / "real"), (Names{"not-yet.txt", "target.txt"}));
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(replaceFile(folder / ("new-" + std::to_string(i % 4)), "x").ok());
    watcher.request_stop();
    watcher.join();
    EXPECT_EQ(umaskChanges, 0);

    // Each refusal has its cause, writes nothing, leaves the old file whole and
    // no temporary. A read-only file is refused for root too; a folder that takes
    // no new file is refused by name even where its file could be written in place.
    const fs::path refused = folder / "refused";
    fs::create_directory(refused);
    writeBytes(refused / "plain-file", "a file");
    writeBytes(refused / "read-only.txt", "old");
    ::chmod((refused / "read-only.txt").c_str(), 0444);
    fs::create_directory(refused / "a-folder");
    fs::create_symlink("loop-b", refused / "loop-a");
    fs::create_symlink("loop-a", refused / "loop-b");
    const fs::path closed = refused / "closed";
    fs::create_directory(closed);
    const std::string old = th::testing::noiseBytes(100'000, 7);
    writeBytes(closed / "open.txt", old);
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(refused.c_str(), 0755), 0);
    ASSERT_EQ(::chmod((closed / "open.txt").c_str(), 0666), 0);
    ASSERT_EQ(::chmod(closed.c_str(), 0555), 0);
    const struct {
        const char* what;
        fs::path written;
        FileError cause;
        bool unprivileged = false;
    } refusals[] = {
        {"missing folder", refused / "missing" / "x.txt", FileError::FolderMissing},
        {"path through a file", refused / "plain-file" / "x.txt", FileError::NotAFolder},
        {"folder in the way", refused / "a-folder", FileError::IsAFolder},
        {"name too long", refused / std::string(300, 'n'), FileError::NameTooLong},
        {"read-only file", refused / "read-only.txt", FileError::ReadOnlyFile},
        {"loop of links", refused / "loop-a", FileError::LinkLoop},
        {"path through a loop", refused / "loop-b" / "x.txt", FileError::LinkLoop},
        {"writable file in a closed folder", closed / "open.txt", FileError::FolderTakesNoFile, true},
        {"new file in a closed folder", closed / "new.txt", FileError::Permission, true},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(c.what);
        const int status = inChild([&] { return int(replaceFile(c.written, "new").cause); }, c.unprivileged);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(FileError(WEXITSTATUS(status)), c.cause);
    }
    EXPECT_EQ(readBytes(refused / "plain-file"), "a file");
    EXPECT_EQ(readBytes(refused / "read-only.txt"), "old");
    EXPECT_EQ(readBytes(closed / "open.txt"), old);
    EXPECT_TRUE(fs::is_symlink(refused / "loop-a") && fs::is_symlink(refused / "loop-b"));
    EXPECT_EQ(namesIn(refused), (Names{"a-folder", "closed", "loop-a", "loop-b", "plain-file", "read-only.txt"}));
    EXPECT_EQ(namesIn(closed), (Names{"open.txt"}));
    EXPECT_EQ(th::files::describe(th::files::failure(FileError::FolderTakesNoFile), closed / "open.txt"),
              "the folder " + closed.string()
                  + " does not allow new files, so the file cannot be replaced safely; choose another folder");

    // A save that never commits leaves the old file whole and nothing beside
    // it: abandoned half way, killed with its bytes on disk (its temporary
    // never had a name), or stopped by SIGTERM with a named temporary (the
    // writer's fallback), which the signal removes. A named temporary left by
    // a crash is swept at start-up, and none of the names that look like it.
    const fs::path saves = folder / "saves";
    fs::create_directory(saves);
    const fs::path prefs = saves / "prefs";
    writeBytes(prefs, "old");
    const struct {
        const char* what;
        std::function<void()> save;
        int signal; // 0: the child ends normally
    } endings[] = {
        {"abandoned", [&] { ReplacingFile(prefs).write(std::string(200'000, 'x')); }, 0},
        {"abandoned text", [&] { TextWriter(prefs).writeLine("half a script"); }, 0},
        {"killed mid-save",
         [&] {
             ReplacingFile out(prefs);
             out.write(std::string(1 << 20, 'x')); // past the buffer: bytes are on disk
             ::raise(SIGKILL);
         },
         SIGKILL},
        {"stopped with a named temporary",
         [&] {
             th::files::removeLiveTemporariesOnInterrupt();
             writeBytes(saves / ".th-Intrpt", "half");
             th::files::rememberTemporary(saves / ".th-Intrpt");
             ::raise(SIGTERM);
         },
         SIGTERM},
    };
    for (const auto& c : endings) {
        SCOPED_TRACE(c.what);
        const int status = inChild([&] {
            c.save();
            return 0;
        });
        EXPECT_EQ(WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status), c.signal);
        EXPECT_EQ(namesIn(saves), (Names{"prefs"}));
        EXPECT_EQ(readBytes(prefs), "old");
    }

    writeBytes(saves / ".th-Crash1", "half");
    for (const char* name : {".th-12345", ".th-1234567", ".th-12_456", ".tH-123456", "a.th-123456"})
        writeBytes(saves / name, "keep");
    fs::create_directory(saves / ".th-folder");
    fs::create_symlink("prefs", saves / ".th-linked");
    EXPECT_EQ(th::files::removeStaleTemporaries(saves), 1u);
    EXPECT_EQ(namesIn(saves), (Names{".tH-123456", ".th-12345", ".th-1234567", ".th-12_456", ".th-folder",
                                           ".th-linked", "a.th-123456", "prefs"}));
    EXPECT_EQ(readBytes(prefs), "old");
}

} // namespace
