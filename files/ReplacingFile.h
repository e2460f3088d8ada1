#pragma once
// The one way a file is written: the bytes go to a temporary file without a
// name (O_TMPFILE) in the destination's folder, which is synced, named and
// renamed over the destination only when every byte went out, so a failed,
// cancelled or killed save leaves the old file whole and nothing behind. A
// file system without unnamed files gets a named temporary instead, which a
// signal-stopped tool removes (LiveTemporaries.h) and the start-up sweep
// finds after a crash.
//
// A new file gets the permissions any new file would get (0666 less the
// umask); a replaced file keeps its permission bits, and its owner and group
// where the system permits. A file its owner may not write is refused, for
// every user alike, and so is a folder that takes no new file: the old file
// is never written in place. A symbolic link is written through: its final
// target is replaced and the link stays a link; a loop of links is refused.

#include "files/FileResult.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace th::files {

class ReplacingFile {
public:
    // Creates the temporary file at once; result() says why when it could not.
    explicit ReplacingFile(const std::filesystem::path& destination);
    // Removes the temporary file unless commit() succeeded.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // The first failure so far: opening, or a write that did not land.
    const FileResult& result() const { return result_; }
    // Buffers the bytes; after the first failure every write is a no-op.
    // False once anything failed.
    bool write(const void* bytes, std::size_t count);
    bool write(std::string_view bytes) { return write(bytes.data(), bytes.size()); }
    // Flushes, syncs and puts the file in place. Called once.
    [[nodiscard]] FileResult commit();

private:
    bool flush();
    void fail(FileResult result);
    void open(bool exists);
    void openNamed(const std::filesystem::path& folder);
    void giveName();
    void forgetName();

    std::filesystem::path target_;    // the destination with its links followed
    std::filesystem::path temporary_; // the temporary's name, while it has one
    int liveNumber_ = -1;             // its place among the live temporaries
    std::string buffer_;
    int fd_ = -1;
    FileResult result_;
};

// Replaces `file` with `content` through a ReplacingFile.
[[nodiscard]] FileResult replaceFile(const std::filesystem::path& file, std::string_view content);

// Whether a ReplacingFile would be allowed to replace `file`: false for a
// file its owner may not write, or that this process may not write.
bool mayReplace(const std::filesystem::path& file);

// A named temporary outlives its writer only when the process dies mid-save
// (a crash, a kill, a power cut) on a file system without unnamed files, or
// in the instant between naming and renaming. At start-up the program removes
// such left-overs from the folder it writes most, its data folder; sheets and
// scripts go wherever the user chose, and nothing is removed there. Only
// regular files named exactly as the writer names them (".th-" and six
// letters or digits) are removed. Returns how many.
std::size_t removeStaleTemporaries(const std::filesystem::path& folder);

} // namespace th::files
