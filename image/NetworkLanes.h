#pragma once
// The palette network's two steps over many neurons, written once for any
// vector width: the contest for the winner, and the moves of the winner and
// its neighbours towards the sample. Each lane evaluates one neuron's
// expressions in the written order, so every width gives the bits of the
// one-by-one loops.
//
// Included by PaletteQuantiser.cpp (SSE2, always there on x86-64) and by
// NetworkLanesAvx2.cpp, which the build compiles for AVX2; everything here
// has internal linkage so that each file keeps the instructions it was built
// for.

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <limits>

namespace th::image {

// The network's channel arrays, 32-byte aligned, netsize a multiple of 4.
struct ContestNeurons {
    const double* alpha;
    const double* blue;
    const double* green;
    const double* red;
    double* bias;
    double* freq;
    int netsize;
};

struct ContestSample {
    double a, b, g, r;
    double w;         // colour weight: 1 opaque, 0 transparent
    double farAway;   // larger than any distance
    double beta;      // frequency decay per sample
    double biasGain;
};

struct ContestWinners {
    int bestpos = 0;
    int bestbiaspos = 0;
};

// The neurons a sample moves: those from `low` to `high` (the winner and its
// neighbours), each channel by v - (v - target) * factor.
struct NeuronMoves {
    double* channels[4];  // alpha, blue, green, red, 32-byte aligned, netsize a multiple of 4
    double target[4];     // the sample, channel by channel
    // By distance d from the winner, negative to the left: factor[d] and
    // moves[d], all bits set where the neuron moves and clear where it stays,
    // readable from low - 3 to high + 3.
    const double* factor;
    const double* moves;
    int winner;
    int low;
    int high;
};

// AVX2 versions, for processors that have it (see NetworkLanesAvx2.cpp).
ContestWinners contestAvx2(const ContestNeurons& neurons, const ContestSample& sample);
void moveAvx2(const NeuronMoves& moves);

namespace {

// ============================================================================
// Subnormal numbers
//
// Channels drawn towards 0 (black and transparent samples) decay into
// subnormal numbers, and a multiplication with a subnormal operand costs the
// processor about a hundred cycles. Flushing them to zero would change the
// palette, so the hot paths avoid those multiplications with identities that
// give the same bits instead: x * 1 is x, |x| * 0 is +0, and a subnormal
// times a factor in (0, 1] is rounded in integers exactly as the hardware does.
// ============================================================================
// d * k for subnormal d and 0 < k <= 1, rounded to nearest, ties to even.
// Rare next to the move itself, so kept out of its way.
[[gnu::noinline, gnu::cold]] double scaleSubnormal(double d, double k)
{
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const std::uint64_t sign = bits & (std::uint64_t{1} << 63);
    const std::uint64_t units = bits & ~sign; // d = units * 2^-1074
    // k = kUnits * 2^(biased - 1075), read from its bits; a zero (or
    // subnormal) k gives a zero of d's sign, as the hardware does.
    std::uint64_t kBits;
    std::memcpy(&kBits, &k, sizeof kBits);
    const int biased = static_cast<int>(kBits >> 52) & 0x7FF;
    if (biased == 0)
        return sign ? -0.0 : 0.0;
    const std::uint64_t kUnits = (kBits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1} << 52;
    const int shift = 1075 - biased; // d * k = units * kUnits * 2^-shift units
    if (shift >= 120)
        return sign ? -0.0 : 0.0;
    const unsigned __int128 product = static_cast<unsigned __int128>(units) * kUnits;
    auto quotient = static_cast<std::uint64_t>(product >> shift);
    const unsigned __int128 rest = product & ((static_cast<unsigned __int128>(1) << shift) - 1);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    if (rest > half || (rest == half && (quotient & 1)))
        ++quotient;
    const std::uint64_t result = sign | quotient;
    double out;
    std::memcpy(&out, &result, sizeof out);
    return out;
}

// ============================================================================
// Vector lanes
// ============================================================================
enum class Weight { One, Zero, Other };

struct Sse2Lanes {
    using V = __m128d;
    static constexpr int kWidth = 2;
    static V load(const double* p) { return _mm_load_pd(p); }
    static void store(double* p, V v) { _mm_store_pd(p, v); }
    static V broadcast(double v) { return _mm_set1_pd(v); }
    static V zero() { return _mm_setzero_pd(); }
    static V add(V x, V y) { return _mm_add_pd(x, y); }
    static V sub(V x, V y) { return _mm_sub_pd(x, y); }
    static V mul(V x, V y) { return _mm_mul_pd(x, y); }
    static V abs(V x) { return _mm_and_pd(x, _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF))); }
    static bool anyLess(V x, V limitX, V y, V limitY)
    {
        return _mm_movemask_pd(_mm_or_pd(_mm_cmplt_pd(x, limitX), _mm_cmplt_pd(y, limitY))) != 0;
    }
    static V loadAnywhere(const double* p) { return _mm_loadu_pd(p); }
    static V both(V mask, V other) { return _mm_and_pd(mask, other); }
    static V zeroWhere(V mask, V x) { return _mm_andnot_pd(mask, x); }
    static V select(V mask, V x, V otherwise) { return _mm_or_pd(_mm_and_pd(mask, x), _mm_andnot_pd(mask, otherwise)); }
    static V isSubnormal(V x)
    {
        const V size = abs(x);
        return _mm_and_pd(_mm_cmpgt_pd(size, zero()), _mm_cmplt_pd(size, broadcast(std::numeric_limits<double>::min())));
    }
    static int lanesSet(V mask) { return _mm_movemask_pd(mask); }
};

#ifdef __AVX2__
struct Avx2Lanes {
    using V = __m256d;
    static constexpr int kWidth = 4;
    static V load(const double* p) { return _mm256_load_pd(p); }
    static void store(double* p, V v) { _mm256_store_pd(p, v); }
    static V broadcast(double v) { return _mm256_set1_pd(v); }
    static V zero() { return _mm256_setzero_pd(); }
    static V add(V x, V y) { return _mm256_add_pd(x, y); }
    static V sub(V x, V y) { return _mm256_sub_pd(x, y); }
    static V mul(V x, V y) { return _mm256_mul_pd(x, y); }
    static V abs(V x) { return _mm256_and_pd(x, _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF))); }
    static bool anyLess(V x, V limitX, V y, V limitY)
    {
        return _mm256_movemask_pd(_mm256_or_pd(_mm256_cmp_pd(x, limitX, _CMP_LT_OQ), _mm256_cmp_pd(y, limitY, _CMP_LT_OQ))) != 0;
    }
    static V loadAnywhere(const double* p) { return _mm256_loadu_pd(p); }
    static V both(V mask, V other) { return _mm256_and_pd(mask, other); }
    static V zeroWhere(V mask, V x) { return _mm256_andnot_pd(mask, x); }
    static V select(V mask, V x, V otherwise) { return _mm256_blendv_pd(otherwise, x, mask); }
    static V isSubnormal(V x)
    {
        const V size = abs(x);
        return _mm256_and_pd(_mm256_cmp_pd(size, zero(), _CMP_GT_OQ),
                             _mm256_cmp_pd(size, broadcast(std::numeric_limits<double>::min()), _CMP_LT_OQ));
    }
    static int lanesSet(V mask) { return _mm256_movemask_pd(mask); }
};
#endif

// ============================================================================
// Contest: the winners are picked in neuron order with the written
// conditions, looked at only for a group of lanes in which some neuron beats
// a best so far (any other neuron changes nothing, whatever the conditions
// say). The frequency and bias decay of every neuron runs in the same pass,
// after its bias is read.
// ============================================================================
template <typename L, Weight kind>
ContestWinners contestLanes(const ContestNeurons& n, const ContestSample& s)
{
    using V = typename L::V;
    const V weight = L::broadcast(s.w);
    auto weighted = [&](V difference) {
        if constexpr (kind == Weight::One)
            return difference;
        else if constexpr (kind == Weight::Zero)
            return L::zero();
        else
            return L::mul(difference, weight);
    };
    auto absDifference = [](const double* values, V sample) { return L::abs(L::sub(L::load(values), sample)); };
    const V a = L::broadcast(s.a), b = L::broadcast(s.b), g = L::broadcast(s.g), r = L::broadcast(s.r);
    const V beta = L::broadcast(s.beta), gain = L::broadcast(s.biasGain);
    ContestWinners winners;
    double bestd = s.farAway;
    double bestbiasd = s.farAway;
    V bestdLanes = L::broadcast(bestd), bestbiasdLanes = L::broadcast(bestbiasd);
    for (int j = 0; j < n.netsize; j += L::kWidth) {
        const V oldBias = L::load(n.bias + j);
        const V partial = L::add(weighted(absDifference(n.red + j, r)), weighted(absDifference(n.blue + j, b)));
        const V dist = L::add(L::add(absDifference(n.alpha + j, a), weighted(absDifference(n.green + j, g))), partial);
        const V biasd = L::sub(dist, oldBias);
        if (L::anyLess(dist, bestdLanes, biasd, bestbiasdLanes)) {
            alignas(32) double lanes[4][L::kWidth];
            L::store(lanes[0], partial);
            L::store(lanes[1], dist);
            L::store(lanes[2], biasd);
            L::store(lanes[3], oldBias);
            for (int lane = 0; lane < L::kWidth; ++lane) {
                if (lanes[0][lane] < bestd || lanes[0][lane] < bestbiasd + lanes[3][lane]) {
                    if (lanes[1][lane] < bestd) {
                        bestd = lanes[1][lane];
                        winners.bestpos = j + lane;
                    }
                    if (lanes[2][lane] < bestbiasd) {
                        bestbiasd = lanes[2][lane];
                        winners.bestbiaspos = j + lane;
                    }
                }
            }
            bestdLanes = L::broadcast(bestd);
            bestbiasdLanes = L::broadcast(bestbiasd);
        }
        const V f = L::mul(L::load(n.freq + j), beta);
        L::store(n.freq + j, L::sub(L::load(n.freq + j), f));
        L::store(n.bias + j, L::add(oldBias, L::mul(f, gain)));
    }
    return winners;
}

template <typename L>
ContestWinners contestAnyWeight(const ContestNeurons& n, const ContestSample& s)
{
    if (s.w == 1.0)
        return contestLanes<L, Weight::One>(n, s);
    if (s.w == 0.0)
        return contestLanes<L, Weight::Zero>(n, s);
    return contestLanes<L, Weight::Other>(n, s);
}

// ============================================================================
// Moves: every lane computes v - (v - target) * factor, but a subnormal
// difference enters the multiplication as 0, and the lanes that had one are
// then moved one by one through scaleSubnormal.
// ============================================================================
template <typename L>
void moveLanes(const NeuronMoves& m)
{
    using V = typename L::V;
    for (int j = m.low / L::kWidth * L::kWidth; j <= m.high; j += L::kWidth) {
        const V factor = L::loadAnywhere(m.factor + (j - m.winner));
        const V moves = L::loadAnywhere(m.moves + (j - m.winner));
        for (int c = 0; c < 4; ++c) {
            double* values = m.channels[c] + j;
            const V v = L::load(values);
            const V d = L::sub(v, L::broadcast(m.target[c]));
            const V tiny = L::isSubnormal(d);
            L::store(values, L::select(moves, L::sub(v, L::mul(L::zeroWhere(tiny, d), factor)), v));
            if (const int lanes = L::lanesSet(L::both(tiny, moves))) {
                for (int lane = 0; lane < L::kWidth; ++lane)
                    if (lanes >> lane & 1) {
                        const double k = m.factor[j + lane - m.winner];
                        values[lane] -= scaleSubnormal(values[lane] - m.target[c], k);
                    }
            }
        }
    }
}

} // namespace
} // namespace th::image
