#pragma once
// One owner of the data folder: the copy of the program that starts first
// holds a lock file there, and only it sweeps the folder, offers the last
// arrangement and keeps the new one. A lock left by a copy that is no
// longer running is taken over.

#include <QLockFile>

#include <string>

namespace th::toolkit {
class Host;
}

namespace th::app {

// What this copy of the program may do with the data folder.
enum class DataFolderUse {
    Owner, // sweeps, restores and keeps the arrangement
    Guest, // another copy owns the folder: none of that
    Quit,  // another copy owns the folder and the user would rather stop
};

class DataFolderLock {
public:
    explicit DataFolderLock(const std::string& dataFolder);

    // Takes the lock; when another running copy holds it, asks the user
    // through `host` whether to go on without keeping anything or to quit.
    // A folder where no lock can be made at all leaves this copy the owner,
    // as it was before there were locks.
    DataFolderUse claim(toolkit::Host& host);

private:
    std::string dataFolder_;
    QLockFile lock_;
};

} // namespace th::app
