#include "image/SaveResult.h"

namespace th::image {

std::string describe(const SaveResult& result, const std::filesystem::path& file)
{
    switch (result.problem) {
    case SaveProblem::None:
    case SaveProblem::File:
        return files::describe(result.file, file);
    case SaveProblem::EncodeFailed:
        return "the image could not be encoded";
    case SaveProblem::Unsupported:
        return "the image cannot be written at that depth";
    case SaveProblem::InvalidRequest:
        return "there was nothing that could be written";
    case SaveProblem::Cancelled:
        return "it was cancelled";
    }
    return "of an unknown problem";
}

} // namespace th::image
