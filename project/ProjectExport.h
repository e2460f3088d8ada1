#pragma once
// What tile-heron-export does once its arguments are parsed: open the
// project on a canvas of its own, fill the export request from the
// project's choices and the user's overrides, and run the one export.

#include "export/ExportRequest.h"

#include "toolkit/Host.h"

#include <optional>
#include <ostream>
#include <string>

namespace th::project {

// Every field left unset keeps the project's own choice.
struct ExportOverrides {
    std::string projectFile;
    std::optional<std::string> sheetPath;
    std::optional<exporting::SheetDepth> depth;
    std::optional<image::Colour> background;
    bool powerOfTwo = false;
    bool retina = false;
    std::optional<int> sheetNumber;
    std::optional<int> extrude;
    // At most one of the two.
    std::optional<std::string> templateName;
    std::optional<std::string> templateFile;
    std::optional<std::string> scriptPath;
    // The clipboard script goes to `out`, and the written files' lines to `err`.
    bool clipboardToStdout = false;
};

inline constexpr int kExportDone = 0;
inline constexpr int kExportFailed = 1;
inline constexpr int kBadArguments = 2;

// Prints one line per written file (to `err` when the script goes to `out`
// instead), or the reason for a failure to `err`; returns kExportDone,
// kExportFailed, or kBadArguments when the arguments and the project together
// leave a choice missing, before anything is written. Templates named without
// a file are the data folder's.
int exportProject(const ExportOverrides& overrides, toolkit::Host& host, const std::string& dataFolder,
                  std::ostream& out, std::ostream& err);

} // namespace th::project
