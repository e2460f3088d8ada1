#include "export/TemplateTarget.h"

#include "export/TextEdits.h"

namespace th::exporting {

ScriptTarget templateTarget(std::string_view firstLine)
{
    if (contains(firstLine, "Clipboard"))
        return {true, {}};
    if (!contains(firstLine, "th.Extension"))
        return {false, ".txt"};
    std::string extension(firstLine);
    // Only blanks go; a tab or other text stays part of the extension.
    removeAll(extension, " ");
    removeAll(extension, "=");
    removeAll(extension, "\"");
    removeAll(extension, "th.Extension");
    return {false, extension};
}

} // namespace th::exporting
