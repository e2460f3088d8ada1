// Replays every file of the corpus folders named on the command line through
// the target's entry point once. An empty or missing folder fails, so a
// corpus cannot silently go missing.

#include "testing/TempHome.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// libFuzzer's entry point, which each target defines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path folder = argv[i];
        const std::vector<std::string> names = th::testing::namesIn(folder); // throws if missing
        if (names.empty()) {
            std::fprintf(stderr, "%s: no corpus files\n", argv[i]);
            return 1;
        }
        for (const std::string& name : names) {
            const std::string bytes = th::testing::readBytes(folder / name);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        }
        std::printf("%s: %zu files replayed\n", argv[i], names.size());
    }
    return 0;
}
