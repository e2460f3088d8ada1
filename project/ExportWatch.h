#pragma once
// tile-heron-export --watch: exports the project once, then again each time
// one of its pictures or the project file itself changes, until SIGINT or
// SIGTERM. Qt Core only: its event loop and file watch.

#include "project/ProjectExport.h"

namespace th::project {

// One line per export, with its time: the written files to `out` (to `err`
// when the script goes to `out`), or the reason it failed to `err`. Returns
// kExportDone once stopped by a signal; an export under way when the signal
// comes is finished first, so no file is left half written.
int watchAndExport(const ExportOverrides& overrides, toolkit::Host& host, const std::string& dataFolder,
                   std::ostream& out, std::ostream& err);

} // namespace th::project
