#pragma once
// Keeps the arrangement for the next start, at most once a second and
// never on the drag path: the editing API hands on each finished change
// (a whole drag only at its release), which starts a one-second wait; when
// it ends the canvas is written as it then stands, unless it is already
// kept or a drag is under way, whose release starts the wait again.

#include "canvas/CanvasEdit.h"
#include "files/FileResult.h"

#include <QTimer>

#include <cstdint>
#include <functional>

namespace th::app {

class Autosave {
public:
    using Write = std::function<files::FileResult()>;
    // The canvas as it stands when made counts as kept.
    Autosave(const canvas::CanvasEditor& editor, Write write);

    // A change was finished.
    void changed();
    // Writes what is not yet kept at once, as the program ends.
    void flush();

private:
    void writeIfChanged();

    const canvas::CanvasEditor& editor_;
    Write write_;
    QTimer timer_;
    std::uint64_t kept_;
};

} // namespace th::app
