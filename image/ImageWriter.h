#pragma once
// Hands pixel rows to an encoder in a layout it takes: RGBA as they are when
// it writes RGBA, otherwise flattened onto white into RGB rows.

#include "image/Codec.h"

namespace th::image {

[[nodiscard]] SaveResult writeWith(const Encoder& encoder, const std::filesystem::path& file,
                                          const PixelRows& source, SaveFlags flags, int depth);

} // namespace th::image
