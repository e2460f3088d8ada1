#pragma once
// The natural order of file names, which an import may follow instead of the
// names' bytes: runs of digits compare as numbers, so "walk2.png" comes
// before "walk10.png"; names equal that way are ordered by their bytes.

#include <string>
#include <string_view>
#include <vector>

namespace th::canvas {

bool naturallyBefore(std::string_view a, std::string_view b);

// Sorts paths by their file names (the part after the last "/") in natural
// order, whole paths breaking the ties.
void sortNaturally(std::vector<std::string>& paths);

} // namespace th::canvas
