// Replays every file of the corpus folders named on the command line through
// the target's entry point once, with whatever compiler built it: CI runs
// every seed and every saved reproducer without libFuzzer. An empty or
// missing folder fails, so a corpus cannot silently go missing.

#include "FuzzTarget.h"

#include "testing/TempHome.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        if (error || files.empty()) {
            std::fprintf(stderr, "%s: no corpus files\n", argv[i]);
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            const std::string bytes = th::testing::readBytes(file);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        }
        std::printf("%s: %zu files replayed\n", argv[i], files.size());
    }
    return 0;
}
