// The palette save as one whole process, for the side-by-side comparison with
// pngnq (palette-vs-pngnq.sh): decode the PNG, quantise, write.
//   palette_save <in.png> <out.png> <depth 2, 4 or 8>

#include "files/WholeFile.h"
#include "image/ImageStore.h"
#include "image/StandardCodecs.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <in.png> <out.png> <depth>\n", argv[0]);
        return 2;
    }
    const th::files::WholeFile in = th::files::readWholeFile(argv[1], th::files::FileKind::Picture);
    th::image::ImageStore store;
    th::image::registerStandardCodecs(store);
    const th::image::DecodeOutcome decoded = store.decode(0, in.bytes);
    if (!decoded.ok()) {
        std::fprintf(stderr, "%s: not decoded\n", argv[1]);
        return 1;
    }
    const auto saved = store.save(0, argv[2], th::image::kCodecPng, th::image::SaveFlags::None, std::atoi(argv[3]));
    return saved.ok() ? 0 : 1;
}
