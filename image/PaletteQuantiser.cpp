#include "image/PaletteQuantiser.h"

#include "image/Codec.h"
#include "image/NetworkLanes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace th::image {

// ============================================================================
// Constants
// ============================================================================
namespace {

constexpr double kGamma = 1.8;              // the network learns in gamma 1/1.8 space
constexpr int kMaxNeurons = 256;            // capacity, whatever the depth
constexpr int kPixelsPerFactor = 262144;    // sampling factor grows by 1 per this many pixels
constexpr int kMaxSamplingFactor = 10;      // ... up to this: 1 pixel in 10 is learnt
constexpr int kSamplePrimes[] = {499, 491, 487, 503}; // pixel strides; the first one
                                            // that does not divide the length is used
constexpr double kInitialRate = 1024.0;     // learning rate (alpha) at the start
constexpr int kRateDecayBase = 30;          // rate -= rate / (30 + (factor - 1) div 3)
constexpr double kInitialRadius = 32.0;     // neighbourhood radius at the start
constexpr int kRadiusLimit = 32;            // radpower[] entries
constexpr double kRadiusDecay = 30.0;       // radius -= radius / 30
constexpr int kDecaysPerRun = 100;          // rate and radius shrink every 1/100 of the run
constexpr double kBeta = 1.0 / 1024.0;      // frequency decay per sample
constexpr double kBiasGain = 1024.0;        // bias grows by freq * beta * 1024
constexpr double kRadPowerScale = 262144.0; // radpower / 2^18 is a neighbour's move factor
constexpr double kFarAway = 1073741824.0;   // 2^30: larger than any distance
constexpr int kPrefetchSamples = 8;         // samples fetched ahead of the learning loop
constexpr double kLumaRed = 0.2126;         // depth 1: Rec. 709 luminance ...
constexpr double kLumaGreen = 0.7152;
constexpr double kLumaBlue = 0.0722;
constexpr double kLumaThreshold = 160.0;    // ... above this is white
constexpr int kCacheBits = 16;              // mapping memo: 2^16 recent pixels

} // namespace

// ============================================================================
// The network: neurons, gamma table, search map and green index
// ============================================================================
struct PaletteQuantiser::Network {
    int netsize = 0;
    // Neurons as separate channel arrays, aligned for the vector lanes of the
    // contest; depths 2 to 8 give a multiple of 4 neurons.
    alignas(32) double alpha[kMaxNeurons] = {};
    alignas(32) double blue[kMaxNeurons] = {};
    alignas(32) double green[kMaxNeurons] = {};
    alignas(32) double red[kMaxNeurons] = {};
    alignas(32) double bias[kMaxNeurons] = {};
    alignas(32) double freq[kMaxNeurons] = {};
    double radpower[kRadiusLimit] = {};
    // Move factors and masks by distance from the winner (NetworkLanes.h),
    // wide enough for a vector's lanes on either side of the farthest move.
    static constexpr int kMoveReach = kRadiusLimit + 4;
    double moveFactor[2 * kMoveReach + 1] = {};
    double neuronMoves[2 * kMoveReach + 1] = {};
    double gammaTable[256] = {};
    int gammaByte[256] = {};      // gammaTable as integers, for the search
    int index[256] = {};          // where the search starts for each green
    int mapRed[kMaxNeurons] = {}; // the search map, in gamma space
    int mapGreen[kMaxNeurons] = {};
    int mapBlue[kMaxNeurons] = {};
    int mapAlpha[kMaxNeurons] = {};
    // Direct-mapped memo of the search: a sheet repeats its pixels a lot.
    std::vector<std::uint32_t> cacheKey;
    std::vector<std::int16_t> cacheIndex;

    explicit Network(int size);
    // False when `watch` stopped the learning part way.
    bool learn(const std::uint8_t* pixels, std::size_t byteLength, int samplingFactor, const RowWatch* watch);
    void buildSearchMap(std::vector<PaletteEntry>& palette);
    int search(int a, int b, int g, int r) const;
    template <typename Distance>
    int searchFrom(int a, int b, int g, int r, Distance w) const;
    int cachedSearch(const std::uint8_t* pixel);

private:
    int contest(double a, double b, double g, double r);
    void setMoveFactors(double rate, int rad);
    void move(int winner, int rad, double a, double b, double g, double r);
    void swapNeurons(int i, int j);
};

// ============================================================================
// Gamma table and initial neurons
// ============================================================================
PaletteQuantiser::Network::Network(int size)
    : netsize(size)
    , cacheKey(std::size_t{1} << kCacheBits, 0)
    , cacheIndex(std::size_t{1} << kCacheBits, -1)
{
    for (int i = 0; i < 256; ++i) {
        gammaTable[i] = std::round(255.0 * std::pow(i / 255.0, 1.0 / kGamma));
        gammaByte[i] = static_cast<int>(gammaTable[i]);
    }
    for (int i = 0; i < netsize; ++i) {
        const double grey = gammaTable[(i * 256) / netsize];
        blue[i] = green[i] = red[i] = grey;
        alpha[i] = i <= 15 ? 16.0 * i : 255.0;
        bias[i] = 0.0;
        freq[i] = 1.0 / netsize;
    }
}

// ============================================================================
// Contest: the winner by biased distance, and the frequency and bias update,
// in vector lanes (NetworkLanes.h): AVX2 where the processor has it, SSE2
// otherwise, with the same bits either way
// ============================================================================
namespace {
bool hasAvx2()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2;
}
} // namespace

int PaletteQuantiser::Network::contest(double a, double b, double g, double r)
{
    const double t = 1.0 - a / 255.0;
    const double w = 1.0 - t * t; // colour counts less the more transparent the sample
    const ContestNeurons neurons{alpha, blue, green, red, bias, freq, netsize};
    const ContestSample sample{a, b, g, r, w, kFarAway, kBeta, kBiasGain};
    const ContestWinners winners =
        hasAvx2() ? contestAvx2(neurons, sample) : contestAnyWeight<Sse2Lanes>(neurons, sample);
    freq[winners.bestpos] += kBeta;
    bias[winners.bestpos] -= 1.0;
    return winners.bestbiaspos;
}

// ============================================================================
// Moves: the winner by the learning rate, its neighbours by radpower, in
// vector lanes too; the factors by distance change only when the rate and
// radius decay
// ============================================================================
void PaletteQuantiser::Network::setMoveFactors(double rate, int rad)
{
    constexpr std::uint64_t kMoves = ~std::uint64_t{0};
    for (int d = -kMoveReach; d <= kMoveReach; ++d) {
        const int distance = d < 0 ? -d : d;
        double& factor = moveFactor[kMoveReach + d];
        std::uint64_t moves = kMoves;
        if (distance == 0) {
            factor = rate / kInitialRate;
        } else if (distance < rad) {
            factor = radpower[distance] / kRadPowerScale;
        } else {
            factor = 0.0;
            moves = 0;
        }
        std::memcpy(&neuronMoves[kMoveReach + d], &moves, sizeof moves);
    }
}

void PaletteQuantiser::Network::move(int winner, int rad, double a, double b, double g, double r)
{
    // Neighbours at distance 1 ... rad - 1 on both sides, inside the network.
    const NeuronMoves moves{{alpha, blue, green, red}, {a, b, g, r},
                            moveFactor + kMoveReach, neuronMoves + kMoveReach, winner,
                            rad == 0 ? winner : std::max(winner - rad + 1, 0),
                            rad == 0 ? winner : std::min(winner + rad - 1, netsize - 1)};
    if (hasAvx2())
        moveAvx2(moves);
    else
        moveLanes<Sse2Lanes>(moves);
}

// ============================================================================
// Learning: prime-stride samples, rate and radius decaying every delta samples
// ============================================================================
bool PaletteQuantiser::Network::learn(const std::uint8_t* pixels, std::size_t byteLength,
                                      int samplingFactor, const RowWatch* watch)
{
    const std::size_t samplePixels = byteLength / (4 * static_cast<std::size_t>(samplingFactor));
    // A tiny image has fewer than 100 samples; decaying after every one of
    // them keeps the modulo below away from zero.
    const std::size_t delta = std::max<std::size_t>(samplePixels / kDecaysPerRun, 1);
    const int rateDecay = kRateDecayBase + (samplingFactor - 1) / 3;
    double rate = kInitialRate;
    double radius = kInitialRadius;
    int rad = kRadiusLimit;
    for (int m = 0; m < kRadiusLimit; ++m)
        radpower[m] = std::floor(kInitialRate * ((1024 - m * m) / 4));
    setMoveFactors(rate, rad);

    std::size_t step = 4 * static_cast<std::size_t>(kSamplePrimes[3]);
    for (const int prime : {kSamplePrimes[0], kSamplePrimes[1], kSamplePrimes[2]}) {
        if (byteLength % static_cast<std::size_t>(prime) != 0) {
            step = 4 * static_cast<std::size_t>(prime);
            break;
        }
    }

    // Samples lie a prime stride apart, so nearly every one misses the cache:
    // fetch a few ahead of the one in use.
    auto advance = [&](std::size_t at) {
        at += step;
        while (at >= byteLength)
            at -= byteLength;
        return at;
    };
    std::size_t ahead = 0;
    for (int k = 0; k < kPrefetchSamples; ++k) {
        __builtin_prefetch(pixels + ahead);
        ahead = advance(ahead);
    }

    std::size_t position = 0;
    for (std::size_t i = 1; i <= samplePixels; ++i) {
        __builtin_prefetch(pixels + ahead);
        ahead = advance(ahead);
        const std::uint8_t* p = pixels + position;
        double a = 0, b = 0, g = 0, r = 0;
        if (p[3] != 0) {
            a = p[3];
            r = gammaTable[p[0]];
            g = gammaTable[p[1]];
            b = gammaTable[p[2]];
        }
        move(contest(a, b, g, r), rad, a, b, g, r);

        position = advance(position);

        if (i % delta == 0) {
            rate -= rate / rateDecay;
            radius -= radius / kRadiusDecay;
            rad = static_cast<int>(radius);
            if (rad <= 1)
                rad = 0;
            else
                for (int m = 0; m < rad; ++m)
                    radpower[m] = std::floor(rate * (((rad * rad - m * m) * 256) / (rad * rad)));
            setMoveFactors(rate, rad);
            // Asked between steps, so stopping or not never alters a step.
            if (watch && !(*watch)(0))
                return false;
        }
    }
    return true;
}

// ============================================================================
// Unbiasing: neuron values back to bytes
// ============================================================================
namespace {

int colourByte(double v)
{
    if (v < 0)
        return 0;
    // Written as the product and quotient it is: (x * 255) / 255 is not
    // always x in doubles, and the palette must not depend on that.
    const double linear = ((std::pow(v / 255.0, kGamma) * 255.0) / 255.0) * 256.0;
    return static_cast<int>(std::min(255.0, std::floor(linear)));
}

int alphaByte(double v)
{
    if (v < 0)
        return 0;
    return static_cast<int>(std::min(255.0, std::floor(v / 255.0 * 256.0)));
}

} // namespace

// ============================================================================
// Search map sorted by green, the green index, and the palette
// ============================================================================
void PaletteQuantiser::Network::swapNeurons(int i, int j)
{
    std::swap(alpha[i], alpha[j]);
    std::swap(blue[i], blue[j]);
    std::swap(green[i], green[j]);
    std::swap(red[i], red[j]);
    std::swap(mapRed[i], mapRed[j]);
    std::swap(mapGreen[i], mapGreen[j]);
    std::swap(mapBlue[i], mapBlue[j]);
    std::swap(mapAlpha[i], mapAlpha[j]);
}

void PaletteQuantiser::Network::buildSearchMap(std::vector<PaletteEntry>& palette)
{
    for (int j = 0; j < netsize; ++j) {
        mapRed[j] = gammaByte[colourByte(red[j])];
        mapGreen[j] = gammaByte[colourByte(green[j])];
        mapBlue[j] = gammaByte[colourByte(blue[j])];
        mapAlpha[j] = alphaByte(alpha[j]);
    }
    int previousGreen = 0;
    int start = 0;
    for (int i = 0; i < netsize; ++i) {
        int smallest = i;
        for (int p = i + 1; p < netsize; ++p)
            if (mapGreen[p] < mapGreen[smallest])
                smallest = p;
        if (smallest != i)
            swapNeurons(i, smallest);
        const int g = mapGreen[i];
        if (g != previousGreen) {
            index[previousGreen] = (start + i) / 2;
            for (int k = previousGreen + 1; k < g; ++k)
                index[k] = i;
            previousGreen = g;
            start = i;
        }
    }
    index[previousGreen] = (start + netsize - 1) / 2;
    for (int k = previousGreen + 1; k < 256; ++k)
        index[k] = netsize - 1;

    palette.resize(static_cast<std::size_t>(netsize));
    for (int j = 0; j < netsize; ++j)
        palette[static_cast<std::size_t>(j)] = {
            static_cast<std::uint8_t>(colourByte(red[j])),
            static_cast<std::uint8_t>(colourByte(green[j])),
            static_cast<std::uint8_t>(colourByte(blue[j])),
            static_cast<std::uint8_t>(alphaByte(alpha[j]))};
}

// ============================================================================
// Search: outwards from the green index, stopping once green alone is too far
// ============================================================================
int PaletteQuantiser::Network::search(int a, int b, int g, int r) const
{
    if (a == 0) {
        r = g = b = 0;
    } else {
        r = gammaByte[r];
        g = gammaByte[g];
        b = gammaByte[b];
    }
    const double t = 1.0 - a / 255.0;
    const double w = 1.0 - t * t;
    // Opaque pixels weigh colour by exactly 1: every distance is then a sum
    // of integer squares, which integers add and compare with the same result.
    if (w == 1.0)
        return searchFrom<int>(a, b, g, r, 1);
    return searchFrom<double>(a, b, g, r, w);
}

template <typename Distance>
int PaletteQuantiser::Network::searchFrom(int a, int b, int g, int r, Distance w) const
{
    Distance bestd = static_cast<Distance>(kFarAway);
    int best = 0;
    int i = index[g];
    int j = i - 1;
    auto square = [](int v) { return static_cast<Distance>(v * v); };
    while (i < netsize || j >= 0) {
        if (i < netsize) {
            Distance d = square(mapGreen[i] - g) * w;
            if (d > bestd)
                break;
            d += square(mapRed[i] - r) * w;
            if (d < bestd) {
                d += square(mapBlue[i] - b) * w;
                if (d < bestd) {
                    d += square(mapAlpha[i] - a);
                    if (d < bestd) {
                        bestd = d;
                        best = i;
                    }
                }
            }
            ++i;
        }
        if (j >= 0) {
            Distance d = square(mapGreen[j] - g) * w;
            if (d > bestd)
                break;
            d += square(mapBlue[j] - b) * w;
            if (d < bestd) {
                d += square(mapRed[j] - r) * w;
                if (d < bestd) {
                    d += square(mapAlpha[j] - a);
                    if (d < bestd) {
                        bestd = d;
                        best = j;
                    }
                }
            }
            --j;
        }
    }
    return best;
}

int PaletteQuantiser::Network::cachedSearch(const std::uint8_t* p)
{
    std::uint32_t key;
    std::memcpy(&key, p, 4);
    if (p[3] == 0)
        key = 0; // every transparent pixel searches the same
    const std::size_t slot = (key * 2654435761u) >> (32 - kCacheBits);
    if (cacheIndex[slot] < 0 || cacheKey[slot] != key) {
        cacheKey[slot] = key;
        cacheIndex[slot] = static_cast<std::int16_t>(search(p[3], p[2], p[1], p[0]));
    }
    return cacheIndex[slot];
}

// ============================================================================
// Set-up: working pixels, sampling factor, learning
// ============================================================================
std::unique_ptr<PaletteQuantiser> PaletteQuantiser::create(const PixelRows& source, int depth,
                                                           SaveFlags flags)
{
    if (depth < 1 || depth > 8 || !source.pixels || source.width < 1 || source.height < 1)
        return nullptr;
    try {
        return std::unique_ptr<PaletteQuantiser>(new PaletteQuantiser(source, depth, flags));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

PaletteQuantiser::~PaletteQuantiser() = default;

PaletteQuantiser::PaletteQuantiser(const PixelRows& source, int depth, SaveFlags flags)
    : pixels_(source)
    , depth_(depth)
    , flags_(flags)
    , indices_(static_cast<std::size_t>(source.width) + 8)
    , packed_((static_cast<std::size_t>(source.width) * static_cast<std::size_t>(depth) + 7) / 8)
{
    const std::size_t width = static_cast<std::size_t>(source.width);
    const std::size_t rowBytes = width * 4;
    const bool dither = hasFlag(flags, SaveFlags::Dither);
    // Learning walks the pixels as one block, so anything but contiguous
    // RGBA is copied first; dithering writes into its own copy.
    if (source.bytesPerPixel != 4 || source.stride != rowBytes || dither) {
        privateCopy_.resize(rowBytes * static_cast<std::size_t>(source.height));
        for (int y = 0; y < source.height; ++y) {
            const std::uint8_t* in = source.pixels + static_cast<std::size_t>(y) * source.stride;
            std::uint8_t* out = privateCopy_.data() + static_cast<std::size_t>(y) * rowBytes;
            if (source.bytesPerPixel == 4) {
                std::memcpy(out, in, rowBytes);
            } else {
                for (std::size_t x = 0; x < width; ++x, in += 3, out += 4) {
                    std::memcpy(out, in, 3);
                    out[3] = 255;
                }
            }
        }
        pixels_ = {privateCopy_.data(), source.width, source.height, rowBytes, 4, source.bottomUp};
    }
    if (depth == 1)
        palette_ = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    else
        buildNetwork(source.watch);
}

void PaletteQuantiser::buildNetwork(const RowWatch* watch)
{
    const std::size_t pixelCount =
        static_cast<std::size_t>(pixels_.width) * static_cast<std::size_t>(pixels_.height);
    const int samplingFactor = static_cast<int>(
        std::min<std::size_t>(pixelCount / kPixelsPerFactor + 1, kMaxSamplingFactor));
    network_ = std::make_unique<Network>(1 << depth_);
    abandoned_ = !network_->learn(pixels_.pixels, pixelCount * 4, samplingFactor, watch);
    if (!abandoned_)
        network_->buildSearchMap(palette_);
}

// ============================================================================
// Row mapping and packing
// ============================================================================
std::span<const std::uint8_t> PaletteQuantiser::mapRow(int row)
{
    if (depth_ == 1)
        mapRowByLuminance(pixels_.row(row));
    else if (hasFlag(flags_, SaveFlags::Dither))
        mapRowWithDither(row);
    else
        mapRowBySearch(pixels_.row(row));
    packIndices();
    return packed_;
}

void PaletteQuantiser::mapRowByLuminance(const std::uint8_t* p)
{
    // Sheets repeat a pixel in long runs; the previous answer serves them.
    std::uint32_t previous = 0;
    std::uint8_t index = 0; // black is below the threshold
    for (int x = 0; x < pixels_.width; ++x, p += 4) {
        const std::uint32_t rgb = p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
        if (rgb != previous) {
            const double luminance = kLumaRed * p[0] + kLumaGreen * p[1] + kLumaBlue * p[2];
            index = luminance > kLumaThreshold ? 1 : 0;
            previous = rgb;
        }
        indices_[static_cast<std::size_t>(x)] = index;
    }
}

void PaletteQuantiser::mapRowBySearch(const std::uint8_t* p)
{
    for (int x = 0; x < pixels_.width; ++x, p += 4)
        indices_[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(network_->cachedSearch(p));
}

void PaletteQuantiser::packIndices()
{
    if (depth_ == 8) {
        std::memcpy(packed_.data(), indices_.data(), packed_.size());
        return;
    }
    std::size_t out = 0;
    unsigned byte = 0;
    int filled = 0;
    for (int x = 0; x < pixels_.width; ++x) {
        byte = byte << depth_ | indices_[static_cast<std::size_t>(x)];
        filled += depth_;
        if (filled == 8) {
            packed_[out++] = static_cast<std::uint8_t>(byte);
            byte = 0;
            filled = 0;
        }
    }
    if (filled != 0)
        packed_[out] = static_cast<std::uint8_t>(byte << (8 - filled));
}

// ============================================================================
// Error diffusion (Floyd-Steinberg on the private copy)
// ============================================================================
namespace {

std::uint8_t clampByte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

} // namespace

void PaletteQuantiser::mapRowWithDither(int row)
{
    // The private copy is writable: it is privateCopy_.
    auto* p = const_cast<std::uint8_t*>(pixels_.row(row));
    std::uint8_t* below =
        row + 1 < pixels_.height ? const_cast<std::uint8_t*>(pixels_.row(row + 1)) : nullptr;
    const int width = pixels_.width;
    for (int x = 0; x < width; ++x, p += 4) {
        int value[4];
        for (int c = 0; c < 4; ++c)
            value[c] = std::clamp(p[c] + carriedError_[static_cast<std::size_t>(c)], 0, 255);
        const int chosen = network_->search(value[3], value[2], value[1], value[0]);
        indices_[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(chosen);
        const PaletteEntry& e = palette_[static_cast<std::size_t>(chosen)];
        const int target[4] = {e.r, e.g, e.b, e.a};
        // Error on nearly invisible pixels matters little, so it is weighted
        // by the more opaque of the two alphas.
        const int opaque = 255 - std::max<int>(e.a, value[3]);
        const int weight = 255 - opaque * opaque / 255;
        int quantisation = 0;
        for (int c = 0; c < 4; ++c) {
            const int difference = value[c] - target[c];
            quantisation += difference * difference;
            const int error = difference * weight / 255;
            if (below) {
                std::uint8_t* q = below + static_cast<std::size_t>(x) * 4 + static_cast<std::size_t>(c);
                if (x > 0)
                    q[-4] = clampByte(q[-4] + error * 3 / 16);
                q[0] = clampByte(q[0] + error * 5 / 16);
                if (x + 1 < width)
                    q[4] = clampByte(q[4] + error / 16);
            }
            carriedError_[static_cast<std::size_t>(c)] = error * 7 / 16;
        }
        // Damp the running error so a run of far-off pixels cannot snowball.
        auto tooLarge = [&] {
            int sum = 0;
            for (const int e2 : carriedError_) {
                if (e2 * e2 > 100)
                    return true;
                sum += e2 * e2;
            }
            return sum > 200 || sum > 2 * quantisation;
        };
        while (tooLarge())
            for (int& e2 : carriedError_)
                e2 /= 2;
    }
}

} // namespace th::image
