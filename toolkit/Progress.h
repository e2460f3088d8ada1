#pragma once
// Feedback on long work: the import of a folder and the export of a sheet
// tell it which stage they are at, and it tells them whether the user asked
// them to stop. Plain C++; the window edge hands in the real one
// (ProgressWindow), tests hand in one that records and cancels on cue.

#include <string>

namespace th::toolkit {

// Scripting counts the script's lines; its total is not known beforehand.
enum class WorkStage { Decoding, Composing, Quantising, Writing, Scripting };

class Progress {
public:
    virtual ~Progress() = default;
    // The work is at `stage`, `done` of `total` steps through it. The first
    // call begins the feedback. False once the user asked the work to stop:
    // it then ends at the next point where it can keep what is whole.
    virtual bool step(WorkStage stage, int done, int total) = 0;
    // The work is over; the feedback goes, and a later step begins it anew.
    virtual void finish() = 0;
};

// Reports on `progress` when there is one; with none nothing ever stops.
inline bool report(Progress* progress, WorkStage stage, int done, int total)
{
    return !progress || progress->step(stage, done, total);
}

// Ends the feedback when the work leaves its scope, by any way out.
class ProgressScope {
public:
    explicit ProgressScope(Progress* progress) : progress_(progress) {}
    ~ProgressScope()
    {
        if (progress_)
            progress_->finish();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    Progress* progress_;
};

// What the feedback says: "Decoding 3 of 400", "Composing", "Quantising",
// "Writing 1024 of 4096", "Writing the script: 8192 lines".
std::string progressText(WorkStage stage, int done, int total);

} // namespace th::toolkit
