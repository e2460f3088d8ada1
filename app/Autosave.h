#pragma once
// Keeps the arrangement for the next start, at most once a wait (a second)
// and never on the drag path: the editing API hands on each finished change
// (a whole drag only at its release), which starts the wait; when it ends
// the canvas is written as it then stands, unless it is already kept or a
// drag is under way, whose release starts the wait again. The first write
// that fails is reported once; the next change tries again, and a write
// that succeeds ends the failure.

#include "canvas/CanvasEdit.h"
#include "files/FileResult.h"

#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>

namespace th::app {

inline constexpr std::chrono::milliseconds kAutosaveWait{1000};

class Autosave {
public:
    using Write = std::function<files::FileResult()>;
    using Report = std::function<void(const files::FileResult&)>;
    // The canvas as it stands when made counts as kept.
    Autosave(const canvas::CanvasEditor& editor, Write write, Report report,
             std::chrono::milliseconds wait = kAutosaveWait);

    // A change was finished.
    void changed();
    // Writes what is not yet kept at once, as the program ends.
    void flush();

private:
    void writeIfChanged();

    const canvas::CanvasEditor& editor_;
    Write write_;
    Report report_;
    QTimer timer_;
    std::uint64_t kept_;
    bool failing_ = false;
};

} // namespace th::app
