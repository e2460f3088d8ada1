// The real feedback on long work, shown at once for the test, and the real
// notices, answered by a click while they are open.

#include "toolkit/ProgressWindow.h"
#include "toolkit/QtHost.h"

#include "testing/TempHome.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <tuple>

namespace {

using th::toolkit::ProgressWindow;
using th::toolkit::WorkStage;

TEST(ProgressWindow, ShowsTheStageUnderABusyCursorUntilCancelledOrFinished)
{
    th::testing::TempHome home;
    QWidget parent;
    ProgressWindow progress(&parent, 0);
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_TRUE(progress.step(WorkStage::Decoding, 1, 3));
        ASSERT_TRUE(QApplication::overrideCursor());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
        ASSERT_TRUE(progress.window());
        EXPECT_TRUE(progress.window()->isVisible());
        EXPECT_EQ(progress.window()->labelText(), "Decoding 1 of 3");
        EXPECT_TRUE(progress.step(WorkStage::Writing, 5, 10));
        EXPECT_EQ(std::tuple(progress.window()->labelText(), progress.window()->value(), progress.window()->maximum()),
                  std::tuple(QString("Writing 5 of 10"), 5, 10));
        QTest::mouseClick(progress.window()->findChild<QPushButton*>(), Qt::LeftButton);
        EXPECT_FALSE(progress.step(WorkStage::Writing, 6, 10)) << "Cancel stops the work";
        progress.finish();
        EXPECT_EQ(progress.window(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    // Work shorter than half a second shows only the busy cursor.
    ProgressWindow brief(&parent);
    brief.step(WorkStage::Composing, 0, 0);
    EXPECT_EQ(brief.window(), nullptr);
}

// A notice raised while a second window is in front belongs to that window
// alone, and that window is in front with the keyboard again after it.
TEST(QtHostNotices, BelongToTheWindowInFrontWhichKeepsTheFrontAndTheKeyboard)
{
    th::testing::TempHome home;
    QWidget main;
    main.show();
    th::toolkit::QtHost host(&main);
    for (const bool question : {false, true}) {
        SCOPED_TRACE(question ? "ask" : "message");
        QWidget editor(&main, Qt::Window);
        auto* field = new QLineEdit(&editor);
        editor.show();
        QApplication::setActiveWindow(&editor);
        field->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return editor.isActiveWindow() && field->hasFocus(); }));

        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            EXPECT_EQ(box->parentWidget(), &editor);
            EXPECT_EQ(box->windowModality(), Qt::WindowModal);
            QTest::mouseClick(box->button(question ? QMessageBox::Yes : QMessageBox::Ok), Qt::LeftButton);
        });
        if (question)
            EXPECT_TRUE(host.ask("Overwrite Script?", "overwrite?"));
        else
            host.message("Saved Script!", "saved");
        EXPECT_TRUE(QTest::qWaitFor([&] { return editor.isActiveWindow() && field->hasFocus(); }));
    }
}

} // namespace
