// The real feedback on long work, shown at once for the test.

#include "toolkit/ProgressWindow.h"

#include "testing/TempHome.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using th::toolkit::ProgressWindow;
using th::toolkit::WorkStage;

Qt::CursorShape cursor()
{
    return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
}

TEST(ProgressWindow, ShowsTheStageUnderABusyCursorUntilCancelledOrFinished)
{
    th::testing::TempHome home;
    QWidget parent;
    ProgressWindow progress(&parent, 0);
    ASSERT_EQ(cursor(), Qt::ArrowCursor);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_TRUE(progress.step(WorkStage::Decoding, 1, 3));
        EXPECT_EQ(cursor(), Qt::BusyCursor);
        ASSERT_TRUE(progress.window());
        EXPECT_TRUE(progress.window()->isVisible());
        EXPECT_EQ(progress.window()->labelText(), "Decoding 1 of 3");
        EXPECT_TRUE(progress.step(WorkStage::Writing, 5, 10));
        EXPECT_EQ(progress.window()->labelText(), "Writing 5 of 10");
        EXPECT_EQ(progress.window()->value(), 5);
        EXPECT_EQ(progress.window()->maximum(), 10);
        QTest::mouseClick(progress.window()->findChild<QPushButton*>(), Qt::LeftButton);
        EXPECT_FALSE(progress.step(WorkStage::Writing, 6, 10)) << "Cancel stops the work";
        progress.finish();
        EXPECT_EQ(progress.window(), nullptr);
        EXPECT_EQ(cursor(), Qt::ArrowCursor);
    }

    // Work shorter than half a second shows only the busy cursor.
    ProgressWindow brief(&parent);
    brief.step(WorkStage::Composing, 0, 0);
    EXPECT_EQ(brief.window(), nullptr);
}

} // namespace
