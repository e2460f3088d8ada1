#include "files/TextFile.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;
using th::files::FileError;
using th::files::TextReader;
using th::files::TextWriter;

std::vector<std::string> readAll(const std::filesystem::path& file)
{
    TextReader reader(file);
    std::vector<std::string> lines;
    while (!reader.atEnd())
        lines.push_back(reader.readLine());
    return lines;
}

TEST(TextWriter, WritesOneLineFeedPerLineWithoutAByteOrderMarkOrReportsItCannot)
{
    TempHome home;
    const auto file = home.path() / "out.txt";
    writeBytes(file, "old content that must go away");
    {
        // Lines written but never closed, as after a crash: the old file stays whole.
        TextWriter abandoned(file);
        abandoned.writeLine("half a script");
    }
    EXPECT_EQ(readBytes(file), "old content that must go away");
    TextWriter writer(file);
    for (const char* line : {"caf\xC3\xA9", "", "end\xE2\x80\xA6"})
        writer.writeLine(line);
    ASSERT_TRUE(writer.close().ok());
    EXPECT_EQ(readBytes(file), "caf\xC3\xA9\n\nend\xE2\x80\xA6\n");

    TextWriter nowhere(home.path() / "no such folder" / "out.txt");
    EXPECT_FALSE(nowhere.isOpen());
    nowhere.writeLine("dropped");
    EXPECT_EQ(nowhere.close().cause, FileError::FolderMissing);
}

TEST(TextReader, LineEndsEndOfFileByteOrderMarkAndLongLines)
{
    using namespace std::string_literals;
    using Lines = std::vector<std::string>;
    TempHome home;
    const auto file = home.path() / "in.txt";
    const std::string longLine(3'000'000, 'x');
    const std::pair<std::string, Lines> cases[] = {
        // Every kind of line end counts once.
        {"a\nb\rc\r\nd\r\re\0f\n"s, {"a", "b", "c", "d", "", "e", "f"}},
        {"no final line end", {"no final line end"}},
        {"", {}},
        {"\xEF\xBB\xBFth.Extension\n" + longLine + "\n", {"\xEF\xBB\xBFth.Extension", longLine}},
    };
    for (const auto& [bytes, lines] : cases) {
        writeBytes(file, bytes);
        EXPECT_EQ(readAll(file), lines) << bytes.substr(0, 20);
    }
    // A final line end adds no empty line; a read at the end gives one.
    writeBytes(file, "last\n");
    TextReader reader(file);
    EXPECT_EQ(reader.readLine(), "last");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(TextReader(home.path()).result().cause, FileError::IsAFolder);
    EXPECT_EQ(TextReader(home.path() / "missing.txt").result().cause, FileError::FileMissing);
}

} // namespace
