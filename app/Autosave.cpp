#include "app/Autosave.h"

namespace th::app {

Autosave::Autosave(const canvas::CanvasEditor& editor, Write write, Report report, std::chrono::milliseconds wait)
    : editor_(editor)
    , write_(std::move(write))
    , report_(std::move(report))
    , kept_(editor.model().revision())
{
    timer_.setSingleShot(true);
    timer_.setInterval(wait);
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

// A write that fails is tried again at the next change; the user hears of
// it once, not every second about a full disk.
void Autosave::writeIfChanged()
{
    const std::uint64_t revision = editor_.model().revision();
    if (revision == kept_)
        return;
    const files::FileResult written = write_();
    if (written.ok()) {
        kept_ = revision;
        failing_ = false;
    } else if (!failing_) {
        failing_ = true;
        report_(written);
    }
}

} // namespace th::app
