#pragma once
// The palette network's contest over all neurons, written once for any
// vector width. Each lane evaluates one neuron's expressions in the written
// order, so every width gives the bits of the one-by-one loop; the winners
// are picked in neuron order with the written conditions, looked at only for
// a group of lanes in which some neuron beats a best so far (any other
// neuron changes nothing, whatever the conditions say). The frequency and
// bias decay of every neuron runs in the same pass, after its bias is read.
//
// Included by PaletteQuantiser.cpp (SSE2, always there on x86-64) and by
// ContestAvx2.cpp, which the build compiles for AVX2; everything here has
// internal linkage so that each file keeps the instructions it was built for.

#include <immintrin.h>

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

// AVX2 version, for processors that have it (see ContestAvx2.cpp).
ContestWinners contestAvx2(const ContestNeurons& neurons, const ContestSample& sample);

namespace {

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
};
#endif

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

} // namespace
} // namespace th::image
