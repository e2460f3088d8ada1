#pragma once
// A stand-in for the window around the canvas: counts repaints and keeps
// every text shown, so tests can check what the user would see.

#include "canvas/CanvasCommands.h"

#include <string>
#include <vector>

namespace th::canvas::testing {

class RecordingDisplay final : public CanvasDisplay {
public:
    void redraw() override { ++redraws; }
    void showName(const std::string& text) override { names.push_back(text); }
    void showPosition(const std::string& text) override { positions.push_back(text); }
    int canvasSize() const override { return size; }

    bool untouched() const { return redraws == 0 && names.empty() && positions.empty(); }

    int redraws = 0;
    std::vector<std::string> names;
    std::vector<std::string> positions;
    int size = 1024;
};

} // namespace th::canvas::testing
