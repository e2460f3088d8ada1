#include "DecoderFuzz.h"
#include "FuzzTarget.h"

#include "image/PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return th::fuzz::decodeOnce<th::image::PngDecoder>(data, size);
}
