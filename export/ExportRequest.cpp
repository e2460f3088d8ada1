#include "export/ExportRequest.h"

#include "files/TextFile.h"

namespace th::exporting {

// Each choice decides the mode afresh, so a file template chosen after a
// clipboard one writes its file.
void ExportRequest::chooseTemplate(std::optional<std::filesystem::path> file)
{
    templateFile = std::move(file);
    if (!templateFile) {
        script = {};
        return;
    }
    files::TextReader reader(*templateFile, files::FileKind::Template);
    script = templateTarget(reader.readLine());
}

} // namespace th::exporting
