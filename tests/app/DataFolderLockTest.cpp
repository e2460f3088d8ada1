// Two copies of the program on one data folder: the real program runs as
// its own process and owns the folder; a second copy, this test, is asked
// whether to go on without it or quit, and leaves the first one's files
// alone. Once the first is killed, its lock is taken over without a word.

#include "toolkit/DataFolder.h"
#include "app/DataFolderLock.h"
#include "toolkit/PreferenceStore.h"
#include "testing/ScriptedHost.h"
#include "testing/TempHome.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace th::app;
using th::toolkit::dataFolderFor;
using th::testing::readBytes;
using th::testing::writeBytes;

TEST(DataFolderLockTest, SecondCopyAsksAndKeepsOffAndADeadCopysLockIsTakenOver)
{
    th::testing::TempHome home;
    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(home.path().string()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    first.setProcessEnvironment(environment);
    first.start(TH_PROGRAM, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    th::testing::ScriptedHost host{home.folder()};
    const std::string dataFolder = dataFolderFor(home.folder(), host.version);
    const std::string lock = dataFolder + "Tile Heron.lock";
    // Its default templates are written after it took the lock and swept.
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(dataFolder + "HTML5.txt"); }, 10000));
    ASSERT_TRUE(std::filesystem::exists(lock));
    // The first copy's autosave, and a save of it under way.
    writeBytes(dataFolder + "Autosave.theron", "the first copy's arrangement");
    writeBytes(dataFolder + ".th-Ab12Cd", "half of the first copy's next arrangement");

    const std::string question =
        "ask|Tile Heron Is Already Running|Another Tile Heron is using the data folder " + dataFolder +
        ". This one can go on without restoring or keeping the arrangement on its canvas, which that one does. "
        "Do you want to go on? (No quits.)";
    for (const auto& [answer, use] : {std::pair{false, DataFolderUse::Quit}, {true, DataFolderUse::Guest}}) {
        SCOPED_TRACE(answer ? "go on" : "quit");
        host.answers = {answer};
        host.shown.clear();
        EXPECT_EQ(DataFolderLock(dataFolder).claim(host), use);
        ASSERT_EQ(host.shown.size(), 1u);
        EXPECT_EQ(host.shown[0].kind + "|" + host.shown[0].title + "|" + host.shown[0].text, question);
    }
    th::toolkit::PreferenceStore preferences;
    (void)prepareDataFolder(home.folder(), host.version, preferences, false);
    EXPECT_EQ(readBytes(dataFolder + ".th-Ab12Cd"), "half of the first copy's next arrangement");
    EXPECT_EQ(readBytes(dataFolder + "Autosave.theron"), "the first copy's arrangement");
    EXPECT_EQ(first.state(), QProcess::Running) << "the first copy still runs";

    first.kill();
    ASSERT_TRUE(first.waitForFinished(5000));
    ASSERT_TRUE(std::filesystem::exists(lock)) << "a killed copy leaves its lock";
    host.shown.clear();
    DataFolderLock taken(dataFolder);
    EXPECT_EQ(taken.claim(host), DataFolderUse::Owner);
    EXPECT_TRUE(host.shown.empty());
    host.answers = {false};
    EXPECT_EQ(DataFolderLock(dataFolder).claim(host), DataFolderUse::Quit) << "and holds it from then on";
}

} // namespace
