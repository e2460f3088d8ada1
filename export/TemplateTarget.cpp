#include "export/TemplateTarget.h"

#include "export/TextEdits.h"
#include "files/TextFile.h"
#include "toolkit/TemplateTokens.h"

namespace th::exporting {

ScriptTarget templateTarget(std::string_view firstLine)
{
    if (contains(firstLine, "Clipboard"))
        return {true, {}};
    const std::string_view directive = toolkit::tokenName(toolkit::Token::Extension);
    if (!contains(firstLine, directive))
        return {false, ".txt"};
    std::string extension(firstLine);
    // Only blanks go; a tab or other text stays part of the extension.
    removeAll(extension, " ");
    removeAll(extension, "=");
    removeAll(extension, "\"");
    removeAll(extension, directive);
    return {false, extension};
}

bool templateTurnsClockwise(const std::filesystem::path& templateFile)
{
    files::TextReader reader(templateFile, files::FileKind::Template);
    while (!reader.atEnd())
        if (contains(reader.readLine(), toolkit::tokenName(toolkit::Token::TurnClockwise)))
            return true;
    return false;
}

} // namespace th::exporting
