#include "export/TemplateTarget.h"

#include <gtest/gtest.h>

namespace {

TEST(TemplateTarget, FirstLineGivesTheClipboardOrTheExtension)
{
    struct Case {
        const char* line;
        bool clipboard;
        const char* extension;
    };
    const Case cases[] = {
        // The word "Clipboard" anywhere, in that case only.
        {R"(th.Extension = "Clipboard")", true, ""},
        {"Clipboard notes", true, ""},
        {R"(th.Extension = ".txt" to Clipboard)", true, ""},
        {R"(th.Extension = "clipboard")", false, "clipboard"},
        // The text without blanks, "=", quotes and the directive itself.
        {R"(th.Extension = ".plist")", false, ".plist"},
        {R"(th.Extension=".html")", false, ".html"},
        {R"(  th.Extension  =  " .l u a "  )", false, ".lua"},
        {"th.Extension = \".js\"\t", false, ".js\t"},
        {R"(# th.Extension = ".js")", false, "#.js"},
        {R"(th.Extension = ".th.Extension.x")", false, "..x"},
        {"th.Extension", false, ""},
        // Without the directive: a plain text script.
        {"", false, ".txt"},
        {R"(Extension = ".plist")", false, ".txt"},
        {R"(th.extension = ".plist")", false, ".txt"},
        {"th.Repeat", false, ".txt"},
    };
    for (const Case& c : cases) {
        const auto target = th::exporting::templateTarget(c.line);
        EXPECT_EQ(target.clipboard, c.clipboard) << c.line;
        if (!c.clipboard) {
            EXPECT_EQ(target.extension, c.extension) << c.line;
        }
    }
    EXPECT_EQ(th::exporting::templateTarget(R"(th.Extension = "Clipboard")").extension, "");
}

} // namespace
