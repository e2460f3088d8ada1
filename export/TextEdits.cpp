#include "export/TextEdits.h"

namespace th::exporting {

void replaceAll(std::string& text, std::string_view what, std::string_view with)
{
    if (what.empty())
        return;
    std::size_t found = text.find(what);
    if (found == std::string::npos)
        return;
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    while (found != std::string::npos) {
        result.append(text, from, found - from).append(with);
        from = found + what.size();
        found = text.find(what, from);
    }
    result.append(text, from);
    text = std::move(result);
}

} // namespace th::exporting
