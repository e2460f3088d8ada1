#include "toolkit/Progress.h"

namespace th::toolkit {

std::string progressText(WorkStage stage, int done, int total)
{
    const std::string count = " " + std::to_string(done) + " of " + std::to_string(total);
    switch (stage) {
    case WorkStage::Decoding: return "Decoding" + count;
    case WorkStage::Composing: return "Composing";
    case WorkStage::Quantising: return "Quantising";
    case WorkStage::Writing: return "Writing" + count;
    case WorkStage::Scripting: return "Writing the script: " + std::to_string(done) + " lines";
    }
    return {};
}

} // namespace th::toolkit
