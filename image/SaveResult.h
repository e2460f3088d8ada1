#pragma once
// Why a picture could not be saved: the file could not be written, or the
// save itself could not be made (the encoder gave up, the depth has no
// format, there was nothing to write, the user stopped it).

#include "files/FileResult.h"

#include <filesystem>
#include <string>

namespace th::image {

enum class SaveProblem {
    None,
    File,           // the file: see SaveResult::file
    EncodeFailed,   // the encoder gave up on the data (a libpng error)
    Unsupported,    // the format cannot be written at the depth asked for
    InvalidRequest, // nothing to write: no image, no path or no encoder
    Cancelled,      // the user stopped the save; nothing was written
};

struct [[nodiscard]] SaveResult {
    SaveProblem problem = SaveProblem::None;
    files::FileResult file;

    SaveResult() = default;
    // A file's result: a save whose file went wrong, or one that went well.
    SaveResult(files::FileResult written)
        : problem(written.ok() ? SaveProblem::None : SaveProblem::File), file(written) {}
    SaveResult(SaveProblem problem) : problem(problem) {}

    bool ok() const { return problem == SaveProblem::None; }
    bool operator==(const SaveResult&) const = default;
};

// The clause that follows "because" in a notice about saving `file`.
std::string describe(const SaveResult& result, const std::filesystem::path& file);

} // namespace th::image
