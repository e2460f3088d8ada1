#pragma once
// The named temporary files being written at this moment, kept where a signal
// handler can reach them, so that a process stopped by SIGINT or SIGTERM
// removes them before it ends. A temporary has a name only on a file system
// that refuses unnamed files, and for the instant between naming a finished
// file and renaming it over its destination.

#include <filesystem>

namespace th::files {

// Records a temporary's path; the number to forget it by, or -1 when every
// place is taken (that temporary is then left to the start-up sweep).
int rememberTemporary(const std::filesystem::path& temporary) noexcept;
void forgetTemporary(int number) noexcept;

// Unlinks every remembered temporary. Safe to call from a signal handler.
void removeLiveTemporaries() noexcept;

// Makes SIGINT and SIGTERM remove the live temporaries and then end the
// process by the same signal, as it would have ended without the handler.
void removeLiveTemporariesOnInterrupt();

} // namespace th::files
