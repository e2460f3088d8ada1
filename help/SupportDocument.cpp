#include "help/SupportDocument.h"

namespace th::help {

std::optional<std::filesystem::path> supportDocument(std::initializer_list<std::filesystem::path> candidates)
{
    for (const std::filesystem::path& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return std::filesystem::weakly_canonical(candidate, error);
    }
    return std::nullopt;
}

} // namespace th::help
