// main() for tests that drive real widgets: a QApplication on the offscreen
// platform around GoogleTest. A warning from Qt fails the test that caused
// it, since it means a call Qt refused; only the platform's own notes (what
// the offscreen platform cannot do, fonts, the runtime folder) pass.

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        const bool refused = type == QtWarningMsg || type == QtCriticalMsg;
        const bool platformNote = QLatin1String(context.category).startsWith(QLatin1String("qt.qpa"))
                                  || text.startsWith(QLatin1String("This plugin does not support"))
                                  || text.startsWith(QLatin1String("QStandardPaths:"));
        if (refused && !platformNote)
            ADD_FAILURE() << "Qt warned: " << text.toStdString();
        else
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
