#pragma once
// A progress for tests: keeps every step as the text the user would see, and
// asks the work to stop from the `stopAtCount`th step whose text is `stopAt` on.

#include "toolkit/Progress.h"

#include <string>
#include <vector>

namespace th::testing {

class RecordingProgress final : public toolkit::Progress {
public:
    bool step(toolkit::WorkStage stage, int done, int total) override
    {
        steps.push_back(toolkit::progressText(stage, done, total));
        seenStopAt += steps.back() == stopAt;
        return seenStopAt < stopAtCount;
    }
    void finish() override { ++finishes; }

    std::string stopAt;
    int stopAtCount = 1;
    int seenStopAt = 0;
    std::vector<std::string> steps;
    int finishes = 0;
};

} // namespace th::testing
