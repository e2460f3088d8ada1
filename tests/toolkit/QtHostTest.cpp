// The real notices, answered by a click while they are open.

#include "toolkit/QtHost.h"

#include "testing/TempHome.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

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
