#include "app/Autosave.h"

namespace th::app {

namespace {
constexpr int kWaitMilliseconds = 1000;
}

Autosave::Autosave(const canvas::CanvasEditor& editor, Write write)
    : editor_(editor)
    , write_(std::move(write))
    , kept_(editor.model().revision())
{
    timer_.setSingleShot(true);
    timer_.setInterval(kWaitMilliseconds);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (!editor_.moving())
            writeIfChanged();
    });
}

// A wait under way is not restarted, so steady changes are still kept
// once a second rather than put off until they stop.
void Autosave::changed()
{
    if (!timer_.isActive())
        timer_.start();
}

void Autosave::flush()
{
    timer_.stop();
    writeIfChanged();
}

// A write that fails is tried again at the next change; nobody is told
// every second about a full disk.
void Autosave::writeIfChanged()
{
    const std::uint64_t revision = editor_.model().revision();
    if (revision != kept_ && write_().ok())
        kept_ = revision;
}

} // namespace th::app
