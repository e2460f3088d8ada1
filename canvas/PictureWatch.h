#pragma once
// Watches the picture files of the sprites on the canvas and reports the
// ones that changed, a burst at a time: every change restarts a quiet
// period, and only when it runs out are the files changed since reported,
// each once. Editors save in many ways, so the files' folders are watched
// too: a file written in place, replaced by a rename, or deleted and
// created again is reported alike, and watched again afterwards.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace th::canvas {

class PictureWatch : public QObject {
    Q_OBJECT
public:
    using Changed = std::function<void(const std::vector<std::string>& paths)>;
    static constexpr std::chrono::milliseconds kQuiet{300};

    explicit PictureWatch(Changed changed, std::chrono::milliseconds quiet = kQuiet, QObject* parent = nullptr);

    // From now on the files in `paths` are watched, and no others.
    void follow(const std::vector<std::string>& paths);
    // How long the files must stay unchanged before they are reported.
    std::chrono::milliseconds quiet() const { return quiet_.intervalAsDuration(); }

    // What the system's watcher tells, and the end of the quiet period,
    // which the timer calls; tests deliver them in turn without waiting.
    void fileChanged(const QString& path);
    void folderChanged(const QString& folder);
    void report();

private:
    // What tells one version of a file from the next without reading it.
    struct Fingerprint {
        bool exists = false;
        std::uintmax_t size = 0;
        std::filesystem::file_time_type written = {};
        bool operator==(const Fingerprint&) const = default;
    };
    static Fingerprint fingerprintOf(const std::string& path);

    void note(const std::string& path);
    // Watches `path` afresh: after a rename or a delete the old watch
    // follows a file that no longer has this name.
    void rewatch(const std::string& path);

    Changed changed_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
    std::map<std::string, Fingerprint> files_;
    std::set<std::string> folders_;
    std::set<std::string> pending_;
};

} // namespace th::canvas
