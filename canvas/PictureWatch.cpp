#include "canvas/PictureWatch.h"

#include <utility>

namespace th::canvas {

namespace {

QString qtPath(const std::string& path)
{
    return QString::fromStdString(path);
}

std::string folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

} // namespace

PictureWatch::PictureWatch(Changed changed, std::chrono::milliseconds quiet, QObject* parent)
    : QObject(parent)
    , changed_(std::move(changed))
{
    quiet_.setSingleShot(true);
    quiet_.setInterval(quiet);
    connect(&quiet_, &QTimer::timeout, this, &PictureWatch::report);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &PictureWatch::fileChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &PictureWatch::folderChanged);
}

PictureWatch::Fingerprint PictureWatch::fingerprintOf(const std::string& path)
{
    std::error_code error;
    Fingerprint print;
    print.exists = std::filesystem::is_regular_file(path, error);
    if (print.exists) {
        print.size = std::filesystem::file_size(path, error);
        print.written = std::filesystem::last_write_time(path, error);
    }
    return print;
}

void PictureWatch::follow(const std::vector<std::string>& paths)
{
    const std::set<std::string> wanted(paths.begin(), paths.end());
    std::set<std::string> folders;
    for (const std::string& path : wanted)
        folders.insert(folderOf(path));

    for (auto it = files_.begin(); it != files_.end();) {
        if (wanted.count(it->first)) {
            ++it;
            continue;
        }
        watcher_.removePath(qtPath(it->first));
        pending_.erase(it->first);
        it = files_.erase(it);
    }
    for (const std::string& folder : folders_)
        if (!folders.count(folder))
            watcher_.removePath(qtPath(folder));
    for (const std::string& folder : folders)
        if (!folders_.count(folder))
            watcher_.addPath(qtPath(folder));
    folders_ = std::move(folders);
    for (const std::string& path : wanted)
        if (!files_.count(path)) {
            files_[path] = fingerprintOf(path);
            if (files_[path].exists)
                watcher_.addPath(qtPath(path));
        }
}

void PictureWatch::fileChanged(const QString& path)
{
    note(path.toStdString());
}

// A folder changes when a file in it is created, deleted or renamed; only
// the watched files whose version differs from the one last seen count.
void PictureWatch::folderChanged(const QString& folder)
{
    const std::string changedFolder = folder.toStdString();
    for (const auto& [path, print] : files_)
        if (folderOf(path) == changedFolder && !(fingerprintOf(path) == print))
            note(path);
}

void PictureWatch::note(const std::string& path)
{
    if (!files_.count(path))
        return;
    pending_.insert(path);
    quiet_.start();
}

void PictureWatch::rewatch(const std::string& path)
{
    watcher_.removePath(qtPath(path));
    files_[path] = fingerprintOf(path);
    if (files_[path].exists)
        watcher_.addPath(qtPath(path));
}

void PictureWatch::report()
{
    const std::vector<std::string> paths(pending_.begin(), pending_.end());
    pending_.clear();
    for (const std::string& path : paths)
        rewatch(path);
    if (!paths.empty() && changed_)
        changed_(paths);
}

} // namespace th::canvas
