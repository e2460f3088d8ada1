#pragma once
// The first lines of an expansion, for a preview that must appear at once:
// it stops at a bound, and also as soon as a newer run makes it stale.

#include "export/ScriptDestination.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace th::exporting {

class PreviewLines final : public ScriptDestination {
public:
    static constexpr std::size_t kMostLines = 2000;
    static constexpr const char* kStopMarker = "\u2026 preview stops here";

    // The run is stale once `latestRun` no longer reads `run`.
    PreviewLines(const std::atomic<std::uint64_t>& latestRun, std::uint64_t run) : latestRun_(latestRun), run_(run) {}

    files::FileResult begin() override { return {}; }
    bool writeLine(std::string_view utf8) override;
    files::FileResult finish() override { return {}; }
    void nextLineFromPass(std::int64_t spriteNumber) override { pass_ = spriteNumber; }
    bool abandoned() const override { return stale(); }

    bool stale() const { return latestRun_.load(std::memory_order_relaxed) != run_; }
    // The lines, the marker last when the bound was met.
    const std::vector<std::string>& lines() const { return lines_; }
    // Per line, the sprite number of the pass that wrote it; 0 outside
    // repeat blocks and for the marker.
    const std::vector<std::int64_t>& passes() const { return passes_; }

private:
    const std::atomic<std::uint64_t>& latestRun_;
    std::uint64_t run_;
    std::int64_t pass_ = 0;
    std::vector<std::string> lines_;
    std::vector<std::int64_t> passes_;
};

} // namespace th::exporting
