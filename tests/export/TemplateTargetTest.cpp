#include "export/TemplateTarget.h"

#include <gtest/gtest.h>

namespace {

using th::exporting::templateTarget;

TEST(TemplateTarget, TheWordClipboardAnywhereSelectsTheClipboard)
{
    EXPECT_TRUE(templateTarget(R"(th.Extension = "Clipboard")").clipboard);
    EXPECT_EQ(templateTarget(R"(th.Extension = "Clipboard")").extension, "");
    EXPECT_TRUE(templateTarget("Clipboard notes").clipboard);
    EXPECT_TRUE(templateTarget(R"(th.Extension = ".txt" to Clipboard)").clipboard);
    EXPECT_FALSE(templateTarget(R"(th.Extension = "clipboard")").clipboard);
}

TEST(TemplateTarget, TheDirectiveGivesItsTextWithoutBlanksEqualsAndQuotes)
{
    EXPECT_EQ(templateTarget(R"(th.Extension = ".plist")").extension, ".plist");
    EXPECT_EQ(templateTarget(R"(th.Extension = ".pbi")").extension, ".pbi");
    EXPECT_EQ(templateTarget(R"(th.Extension=".html")").extension, ".html");
    EXPECT_EQ(templateTarget(R"(  th.Extension  =  " .l u a "  )").extension, ".lua");
    EXPECT_FALSE(templateTarget(R"(th.Extension = ".plist")").clipboard);
}

TEST(TemplateTarget, TabsAndOtherTextStayInTheExtension)
{
    EXPECT_EQ(templateTarget("th.Extension = \".js\"\t").extension, ".js\t");
    EXPECT_EQ(templateTarget(R"(# th.Extension = ".js")").extension, "#.js");
    EXPECT_EQ(templateTarget(R"(th.Extension = ".th.Extension.x")").extension, "..x");
    EXPECT_EQ(templateTarget("th.Extension").extension, "");
}

TEST(TemplateTarget, WithoutADirectiveTheScriptIsPlainText)
{
    EXPECT_EQ(templateTarget("").extension, ".txt");
    EXPECT_EQ(templateTarget(R"(Extension = ".plist")").extension, ".txt");
    EXPECT_EQ(templateTarget(R"(th.extension = ".plist")").extension, ".txt");
    EXPECT_FALSE(templateTarget("th.Repeat").clipboard);
}

} // namespace
