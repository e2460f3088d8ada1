// The closing notice of an import, line by line.

#include "canvas/ImportReport.h"

#include <gtest/gtest.h>

namespace {

using th::canvas::ImportReport;

TEST(ImportReport, OneLinePerKindWithAtMostTenNamesAndTheirCounts)
{
    std::vector<std::string> eleven;
    for (char c = 'a'; c <= 'k'; ++c)
        eleven.push_back(std::string(1, c) + ".png");
    const struct {
        ImportReport report;
        std::string notice;
    } rows[] = {
        {{}, ""},
        {{.unreadable = {"x.png", "y.png"}, .incomplete = {}, .wrongCase = {}, .tooLarge = {}, .outside = 0},
         "2 files could not be read as PNG pictures and were skipped: x.png, y.png."},
        {{.unreadable = {}, .incomplete = eleven, .wrongCase = {}, .tooLarge = {}, .outside = 0},
         "11 pictures ended early and were imported with blank rows: a.png, b.png, c.png, d.png, e.png, f.png, "
         "g.png, h.png, i.png, j.png, …."},
        {{.unreadable = {}, .incomplete = {}, .wrongCase = {"A.PNG"}, .tooLarge = {}, .outside = 3},
         "1 file was passed over because only names ending in \".png\" are read: A.PNG.\n3 pictures lie wholly "
         "outside the canvas; choose a larger canvas size or use \"Reset Columns\" to bring them in."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.report.notice(), row.notice);
}

TEST(ImportReport, ASpriteIsOutsideOnlyWhenNoPixelOfItsBoxIsOnTheCanvas)
{
    const struct {
        int x, y, width, height;
        int outside;
    } rows[] = {
        {1023, 1023, 5, 5, 0}, {1024, 0, 5, 5, 1}, {0, 1024, 5, 5, 1}, {-5, 0, 5, 5, 1}, {-4, -4, 5, 5, 0},
    };
    for (const auto& row : rows) {
        const th::canvas::SpriteEntry sprite{.x = row.x, .y = row.y, .width = row.width, .height = row.height};
        EXPECT_EQ(th::canvas::countOutside({&sprite, 1}, 1024), row.outside) << row.x << "," << row.y;
    }
}

} // namespace
