#include "app/DataFolderLock.h"

#include "toolkit/Host.h"

#include <QFile>

#include <filesystem>

namespace th::app {

namespace {

constexpr const char* kLockName = "Tile Heron.lock";

} // namespace

DataFolderLock::DataFolderLock(const std::string& dataFolder)
    : dataFolder_(dataFolder)
    , lock_(QFile::decodeName(QByteArray::fromStdString(dataFolder + kLockName)))
{
    // By default a lock older than 30 seconds counts as stale even while its
    // copy runs; only a copy that is gone may lose the folder.
    lock_.setStaleLockTime(0);
}

DataFolderUse DataFolderLock::claim(toolkit::Host& host)
{
    // A first run has no data folder yet to hold the lock in.
    std::error_code ignored;
    std::filesystem::create_directories(dataFolder_, ignored);
    if (lock_.tryLock(0) || lock_.error() != QLockFile::LockFailedError)
        return DataFolderUse::Owner;
    const bool goOn = host.ask(
        "Tile Heron Is Already Running",
        "Another Tile Heron is using the data folder " + dataFolder_ +
            ". This one can go on without restoring or keeping the arrangement on its canvas, which that one "
            "does. Do you want to go on? (No quits.)");
    return goOn ? DataFolderUse::Guest : DataFolderUse::Quit;
}

} // namespace th::app
