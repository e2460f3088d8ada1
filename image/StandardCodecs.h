#pragma once
// The codecs the program reads and writes pictures with.

namespace th::image {

class ImageStore;

// Registers the BMP and PNG decoders (in that order) and the PNG encoder;
// BMP writing is always there.
void registerStandardCodecs(ImageStore& store);

} // namespace th::image
