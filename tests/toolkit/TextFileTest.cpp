#include "toolkit/TextFile.h"

#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using th::testing::readBytes;
using th::testing::TempHome;
using th::testing::writeBytes;
using th::toolkit::TextReader;
using th::toolkit::TextWriter;

std::vector<std::string> readAll(const std::filesystem::path& file)
{
    TextReader reader(file);
    std::vector<std::string> lines;
    while (!reader.atEnd())
        lines.push_back(reader.readLine());
    return lines;
}

TEST(TextWriter, WritesOneLineFeedPerLineAndNoByteOrderMark)
{
    TempHome home;
    const auto file = home.path() / "out.txt";
    writeBytes(file, "old content that must go away");
    TextWriter writer(file);
    writer.writeLine("caf\xC3\xA9");
    writer.writeLine("");
    writer.writeLine("end\xE2\x80\xA6");
    ASSERT_TRUE(writer.close());
    EXPECT_EQ(readBytes(file), "caf\xC3\xA9\n\nend\xE2\x80\xA6\n");
}

TEST(TextWriter, ReportsAFileThatCannotBeCreated)
{
    TempHome home;
    TextWriter writer(home.path() / "no such folder" / "out.txt");
    EXPECT_FALSE(writer.isOpen());
    writer.writeLine("dropped");
    EXPECT_FALSE(writer.close());
}

TEST(TextReader, EveryKindOfLineEndCountsOnce)
{
    TempHome home;
    const auto file = home.path() / "in.txt";
    using namespace std::string_literals;
    writeBytes(file, "a\nb\rc\r\nd\r\re\0f\n"s);
    EXPECT_EQ(readAll(file), (std::vector<std::string>{"a", "b", "c", "d", "", "e", "f"}));
}

TEST(TextReader, EndOfFileRules)
{
    TempHome home;
    const auto file = home.path() / "in.txt";
    writeBytes(file, "last\n");
    TextReader reader(file);
    EXPECT_EQ(reader.readLine(), "last");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readLine(), "");

    writeBytes(file, "no final line end");
    EXPECT_EQ(readAll(file), std::vector<std::string>{"no final line end"});
    writeBytes(file, "");
    EXPECT_TRUE(readAll(file).empty());
}

TEST(TextReader, KeepsAByteOrderMarkAndLongLines)
{
    TempHome home;
    const auto file = home.path() / "in.txt";
    const std::string longLine(3'000'000, 'x');
    writeBytes(file, "\xEF\xBB\xBFth.Extension\n" + longLine + "\n");
    const auto lines = readAll(file);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "\xEF\xBB\xBFth.Extension");
    EXPECT_EQ(lines[1], longLine);
}

TEST(TextReader, FoldersAndMissingFilesDoNotOpen)
{
    TempHome home;
    EXPECT_FALSE(TextReader(home.path()).isOpen());
    EXPECT_FALSE(TextReader(home.path() / "missing.txt").isOpen());
}

} // namespace
