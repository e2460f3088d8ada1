// The save as one whole process, for the side-by-side comparisons of
// palette-vs-pngnq.sh: decode the PNG, then save it at a depth, or write its
// pixels with a bare single-threaded libpng loop ("bare"). Prints the wall
// seconds of the save (or the bare write) alone.
//   palette_save <in.png> <out.png> <depth 1 to 32 | bare> [threads]

#include "BenchData.h"

#include "files/WholeFile.h"
#include "image/ImageStore.h"
#include "image/PngDecoder.h"
#include "image/PngEncoder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s <in.png> <out.png> <depth|bare> [threads]\n", argv[0]);
        return 2;
    }
    const int threads = argc == 5 ? std::atoi(argv[4]) : th::image::PngEncoder::machineThreads();
    const th::files::WholeFile in = th::files::readWholeFile(argv[1], th::files::FileKind::Picture);
    th::image::ImageStore store;
    store.registerDecoder(std::make_unique<th::image::PngDecoder>());
    store.registerEncoder(std::make_unique<th::image::PngEncoder>(threads));
    const th::image::DecodeOutcome decoded = store.decode(0, in.bytes);
    if (!decoded.ok()) {
        std::fprintf(stderr, "%s: not decoded\n", argv[1]);
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    bool saved = false;
    if (std::string(argv[3]) == "bare") {
        const th::image::PixelView pixels = store.handle(0);
        std::vector<const std::uint8_t*> rows;
        for (int y = 0; y < pixels.height; ++y)
            rows.push_back(pixels.pixels + std::size_t(y) * pixels.stride);
        saved = th::bench::bareWrite(argv[2], pixels.width, pixels.height, 8, PNG_COLOR_TYPE_RGBA, {}, rows);
    } else {
        saved = store.save(0, argv[2], th::image::kCodecPng, th::image::SaveFlags::None, std::atoi(argv[3])).ok();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.4f\n", took.count());
    return saved ? 0 : 1;
}
