#include "files/TextFile.h"

#include "files/FolderListing.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

namespace {

using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;
using th::files::FileError;
using th::files::FileKind;
using th::files::TextReader;
using th::files::TextWriter;
using Lines = std::vector<std::string>;

// The lines up to the end; a read past it gives an empty line.
Lines readAll(const std::filesystem::path& file)
{
    TextReader reader(file, FileKind::Template);
    Lines lines;
    while (!reader.atEnd())
        lines.push_back(reader.readLine());
    EXPECT_EQ(reader.readLine(), "");
    return lines;
}

// The writer ends each line with one line feed and writes no byte order
// mark, or reports that it cannot; the reader takes every kind of line end.
TEST(TextFile, WritesOneLineFeedPerLineReadsEveryLineEndOnlyFromRegularFilesUnderTheCapAndListsFolders)
{
    TempHome home;
    const auto file = home.path() / "text.txt";
    writeBytes(file, "old content that must go away");
    TextWriter writer(file);
    for (const char* line : {"caf\xC3\xA9", "", "end\xE2\x80\xA6"})
        writer.writeLine(line);
    ASSERT_TRUE(writer.close().ok());
    EXPECT_EQ(readBytes(file), "caf\xC3\xA9\n\nend\xE2\x80\xA6\n");

    TextWriter nowhere(home.path() / "no such folder" / "out.txt");
    EXPECT_FALSE(nowhere.isOpen());
    nowhere.writeLine("dropped");
    EXPECT_EQ(nowhere.close().cause, FileError::FolderMissing);

    const std::string longLine(3'000'000, 'x');
    const std::pair<std::string, Lines> texts[] = {
        // Every kind of line end counts once.
        {std::string("a\nb\rc\r\nd\r\re\0f\n", 14), {"a", "b", "c", "d", "", "e", "f"}},
        {"no final line end", {"no final line end"}},
        {"", {}},
        {"\xEF\xBB\xBFth.Extension\n" + longLine + "\n", {"\xEF\xBB\xBFth.Extension", longLine}},
    };
    for (const auto& [bytes, lines] : texts) {
        writeBytes(file, bytes);
        EXPECT_EQ(readAll(file), lines) << bytes.substr(0, 20);
    }

    // Only a regular file within its kind's cap is read, and a pipe or a
    // device is refused at once instead of blocking or filling memory. Each
    // refusal says why in the clause the user sees.
    const std::filesystem::path folder = home.path();
    const std::uint64_t cap = th::files::maximumBytes(FileKind::Template);
    writeBytes(folder / "at-cap", std::string(cap, 'x'));
    writeBytes(folder / "over-cap", std::string(cap + 1, 'x'));
    writeBytes(folder / "sp\xffx.txt", "bytes, not text");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("loop", folder / "loop");
    const std::filesystem::path hugeName = folder / std::string(50'000'000, 'n');
    const struct {
        const char* what;
        std::filesystem::path file;
        FileError cause;
        std::string clause; // empty: not checked
    } cases[] = {
        {"file at the cap", folder / "at-cap", FileError::None, ""},
        {"file over the cap", folder / "over-cap", FileError::TooLarge,
         "it is larger than 16 MB, the most such a file may be"},
        {"folder", folder, FileError::IsAFolder, ""},
        {"missing file", folder / "missing.txt", FileError::FileMissing, "it no longer exists"},
        {"pipe without a writer", folder / "pipe", FileError::NotARegularFile,
         (folder / "pipe").string() + " is not a regular file"},
        {"endless device", "/dev/zero", FileError::NotARegularFile, ""},
        {"loop of links", folder / "loop", FileError::LinkLoop,
         "the path " + (folder / "loop").string() + " is a loop of symbolic links"},
        {"50 MB name", hugeName, FileError::NameTooLong, "the name is too long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TextReader reader(c.file, FileKind::Template);
        EXPECT_EQ(reader.result().cause, c.cause);
        if (!c.clause.empty()) {
            EXPECT_EQ(th::files::describe(reader.result(), c.file), c.clause);
        }
    }
    EXPECT_EQ(readAll(folder / "sp\xffx.txt"), Lines{"bytes, not text"}) << "a name that is no UTF-8";

    // A folder's listing matches case-sensitively and sorts by bytes; an
    // empty folder lists nothing, a missing one cannot be listed at all.
    const std::string listed = home.folder() + "listed/";
    std::filesystem::create_directory(listed);
    EXPECT_EQ(th::files::listFolder(listed, "*.png"), Lines{});
    EXPECT_FALSE(th::files::listFolder(listed + "missing/", "*.png"));
    for (const char* name : {"b.png", "a.png", "B.png", ".hidden.png", "upper.PNG", "note.txt", "a.png.bak"})
        writeBytes(listed + name, "x");
    std::filesystem::create_directory(listed + "folder.png");
    EXPECT_EQ(th::files::listFolder(listed, "*.png"), (Lines{".hidden.png", "B.png", "a.png", "b.png", "folder.png"}));
}

} // namespace
