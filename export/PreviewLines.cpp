#include "export/PreviewLines.h"

namespace th::exporting {

bool PreviewLines::writeLine(std::string_view utf8)
{
    if (stale())
        return false;
    if (lines_.size() == kMostLines) {
        lines_.emplace_back(kStopMarker);
        passes_.push_back(0);
        return false;
    }
    lines_.emplace_back(utf8);
    passes_.push_back(pass_);
    return true;
}

} // namespace th::exporting
