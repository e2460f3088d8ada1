#pragma once
// A file written beside its destination and renamed over it only when every
// byte went out, so a failed save never leaves a partial file behind (and an
// older file at the same path survives a failed save untouched).

#include <cstdio>
#include <filesystem>

namespace th::image {

class ReplacingFile {
public:
    explicit ReplacingFile(const std::filesystem::path& destination);
    ~ReplacingFile(); // removes the temporary file unless commit() succeeded
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // nullptr when the temporary file could not be created.
    std::FILE* stream() const { return stream_; }
    // Flushes, closes and renames; false when any write or the rename failed.
    [[nodiscard]] bool commit();

private:
    std::filesystem::path destination_;
    std::filesystem::path temporary_;
    std::FILE* stream_ = nullptr;
};

} // namespace th::image
