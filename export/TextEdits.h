#pragma once
// Substring replacement as the template format defines it.

#include <string>
#include <string_view>

namespace th::exporting {

// Replaces every occurrence of `what`, scanning left to right; text just
// inserted is not looked at again. An empty `what` changes nothing.
void replaceAll(std::string& text, std::string_view what, std::string_view with);

inline void removeAll(std::string& text, std::string_view what)
{
    replaceAll(text, what, {});
}

inline bool contains(std::string_view text, std::string_view what)
{
    return text.find(what) != std::string_view::npos;
}

} // namespace th::exporting
