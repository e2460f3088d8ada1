#include "project/ExportWatch.h"

#include "canvas/PictureWatch.h"
#include "project/ProjectFile.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTime>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace th::project {

namespace {

// A signal only writes a byte here; the event loop reads it and stops.
int stopPipe[2] = {-1, -1};

extern "C" void stopSignalled(int)
{
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
}

// The project file and every picture it names, as read now: a project saved
// with other sprites is watched over its new pictures from the next export.
// A file the export itself writes (a sheet saved over one of its own
// pictures) is left out, or every export would start the next.
std::vector<std::string> filesOf(const std::string& projectFile, const std::string& writtenLines)
{
    std::vector<std::string> files{projectFile};
    const ProjectReading reading = readProject(projectFile);
    if (reading.project)
        for (const ProjectSprite& sprite : reading.project->sprites)
            files.push_back(sprite.file);
    const auto normal = [](const std::string& path) {
        std::error_code error;
        return std::filesystem::absolute(path, error).lexically_normal();
    };
    std::istringstream written(writtenLines);
    for (std::string path; std::getline(written, path);)
        std::erase_if(files, [&](const std::string& file) { return normal(file) == normal(path); });
    return files;
}

// The lines an export printed, as one.
std::string oneLine(const std::string& lines)
{
    std::string line;
    std::istringstream in(lines);
    for (std::string part; std::getline(in, part);)
        if (!part.empty())
            line += (line.empty() ? "" : ", ") + part;
    return line;
}

} // namespace

int watchAndExport(const ExportOverrides& overrides, toolkit::Host& host, const std::string& dataFolder,
                   std::ostream& out, std::ostream& err)
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        err << "Cannot watch: no pipe for the stop signal.\n";
        return kExportFailed;
    }
    struct sigaction stop = {};
    stop.sa_handler = stopSignalled;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = SA_RESTART;
    struct sigaction previousInt = {};
    struct sigaction previousTerm = {};
    ::sigaction(SIGINT, &stop, &previousInt);
    ::sigaction(SIGTERM, &stop, &previousTerm);

    QSocketNotifier stopped(stopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopped, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });

    canvas::PictureWatch* watch = nullptr;
    const auto exportOnce = [&] {
        std::ostringstream lines;
        std::ostringstream problems;
        const bool scriptToOut = overrides.clipboardToStdout;
        const int result =
            exportProject(overrides, host, dataFolder, scriptToOut ? out : lines, scriptToOut ? lines : problems);
        // Watching before the line is out: whoever waits for the line may
        // change a file at once.
        watch->follow(filesOf(overrides.projectFile, result == kExportDone ? lines.str() : std::string()));
        const std::string time = QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
        if (result == kExportDone)
            (scriptToOut ? err : out) << time << " exported " << oneLine(lines.str()) << std::endl;
        else
            err << time << " not exported: " << oneLine(lines.str() + problems.str()) << std::endl;
    };
    canvas::PictureWatch picturesAndProject([&](const std::vector<std::string>&) { exportOnce(); });
    watch = &picturesAndProject;
    exportOnce();
    QCoreApplication::exec();

    ::sigaction(SIGINT, &previousInt, nullptr);
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    ::close(stopPipe[0]);
    ::close(stopPipe[1]);
    return kExportDone;
}

} // namespace th::project
