#pragma once
// Reduces RGBA pixels to a palette of 2^depth colours (depth 1 to 8) and maps
// rows to packed palette indices. Depth 1 is black and white by luminance;
// depths 2 to 8 learn the palette with a self-organising network (NeuQuant,
// in double precision, with an alpha channel and gamma 1.8).
//
// Each quantiser holds all its state, so two saves never disturb each other.
// The results are the same bit for bit on every build: the double arithmetic
// runs in the order written (the project builds without FP contraction).

#include "image/Codec.h"
#include "image/PixelRows.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace th::image {

struct PaletteEntry {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const PaletteEntry&) const = default;
};

class PaletteQuantiser {
public:
    // Learns the palette of `source` (3- or 4-byte pixels). nullptr when
    // depth is outside 1-8 or memory runs out. The source's watch, when it
    // has one, is asked with 0 rows written between the learning's steps.
    [[nodiscard]] static std::unique_ptr<PaletteQuantiser> create(const PixelRows& source,
                                                                  int depth, SaveFlags flags);
    ~PaletteQuantiser();
    PaletteQuantiser(const PaletteQuantiser&) = delete;
    PaletteQuantiser& operator=(const PaletteQuantiser&) = delete;

    int depth() const { return depth_; }
    // The source's watch stopped the learning: there is no palette to map by.
    bool abandoned() const { return abandoned_; }
    // Always 2^depth entries, in ascending order of the learnt green.
    std::span<const PaletteEntry> palette() const { return palette_; }
    // The palette indices of image row `row`, packed depth bits each with the
    // first pixel in the most significant bits of the first byte. Valid
    // until the next call. With dithering, rows must be asked for top first:
    // each one carries error into the next.
    std::span<const std::uint8_t> mapRow(int row);
    // The length of every row mapRow gives.
    std::size_t rowBytes() const { return packed_.size(); }

private:
    struct Network;
    PaletteQuantiser(const PixelRows& source, int depth, SaveFlags flags);
    void buildNetwork(const RowWatch* watch);
    void mapRowByLuminance(const std::uint8_t* pixels);
    void mapRowBySearch(const std::uint8_t* pixels);
    void mapRowWithDither(int row);
    void packIndices();

    PixelRows pixels_;                  // 4-byte pixels: the source or privateCopy_
    std::vector<std::uint8_t> privateCopy_;
    int depth_;
    SaveFlags flags_;
    bool abandoned_ = false;
    std::vector<PaletteEntry> palette_;
    std::unique_ptr<Network> network_;  // absent for depth 1
    std::vector<std::uint8_t> indices_; // one index a pixel, before packing
    std::vector<std::uint8_t> packed_;
    std::array<int, 4> carriedError_{}; // red, green, blue, alpha
};

} // namespace th::image
