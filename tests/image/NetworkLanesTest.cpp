// The network's two instruction sets against each other: the quantiser takes
// AVX2 where the processor has it, so the golden palettes of PngEncodeTest
// cover only one of them on any machine. Here SSE2 and AVX2 run on
// the same networks and samples and must agree in winners and in every bit
// of the decayed frequencies and biases and of the moved channels.

#include "image/NetworkLanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>

namespace {

using namespace th::image;

struct Network {
    alignas(32) double alpha[256], blue[256], green[256], red[256], bias[256], freq[256];
    ContestNeurons view(int netsize) { return {alpha, blue, green, red, bias, freq, netsize}; }
};

TEST(NetworkLanes, Sse2AndAvx2AgreeBitForBit)
{
    if (!__builtin_cpu_supports("avx2"))
        GTEST_SKIP() << "no AVX2 on this processor";
    const unsigned seed = std::random_device{}();
    std::cout << "seed " << seed << "\n";
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> channel(0.0, 255.0), small(-2.0, 2.0);
    for (int round = 0; round < 2000; ++round) {
        const int netsize = 4 << (round % 7); // 4 ... 256
        Network sse2{};
        for (int j = 0; j < netsize; ++j) {
            // Every fourth neuron repeats the one before, so ties occur.
            for (double* c : {sse2.alpha, sse2.blue, sse2.green, sse2.red})
                c[j] = j % 4 == 3 ? c[j - 1] : channel(random);
            sse2.bias[j] = small(random);
            sse2.freq[j] = 1.0 / netsize + small(random) / 4096;
        }
        Network avx2 = sse2;
        const double weights[] = {1.0, 0.0, 0.5, 1.0 - (1.0 - 32 / 255.0) * (1.0 - 32 / 255.0)};
        const ContestSample sample{channel(random), channel(random), channel(random), channel(random),
                                   weights[round % 4], 1073741824.0, 1.0 / 1024.0, 1024.0};
        SCOPED_TRACE(::testing::Message() << "round " << round << ", " << netsize << " neurons");
        const ContestWinners bySse2 = contestAnyWeight<Sse2Lanes>(sse2.view(netsize), sample);
        const ContestWinners byAvx2 = contestAvx2(avx2.view(netsize), sample);
        ASSERT_EQ(std::pair(bySse2.bestpos, bySse2.bestbiaspos), std::pair(byAvx2.bestpos, byAvx2.bestbiaspos));
        ASSERT_EQ(std::memcmp(&sse2, &avx2, sizeof sse2), 0) << "biases or frequencies";

        // Moves around a winner anywhere, with subnormal channels near a zero
        // target, neighbours reaching past either end, and some factors 0.
        const int winner = int(random() % unsigned(netsize));
        const int reach = int(random() % 33);
        const double target[4] = {0.0, 0.0, channel(random), channel(random)};
        for (int j = 0; j < netsize; j += 3)
            sse2.alpha[j] = avx2.alpha[j] = std::numeric_limits<double>::denorm_min() * j;
        double factor[2 * 36 + 1], moves[2 * 36 + 1];
        for (int d = -36; d <= 36; ++d) {
            factor[36 + d] = d % 5 == 0 ? 0.0 : channel(random) / 255.0;
            const std::uint64_t bits = d > -reach && d < reach ? ~std::uint64_t{0} : 0;
            std::memcpy(&moves[36 + d], &bits, sizeof bits);
        }
        auto movesOf = [&](Network& n) {
            return NeuronMoves{{n.alpha, n.blue, n.green, n.red}, {target[0], target[1], target[2], target[3]},
                               factor + 36, moves + 36, winner, std::max(winner - reach, 0), std::min(winner + reach, netsize - 1)};
        };
        moveLanes<Sse2Lanes>(movesOf(sse2));
        moveAvx2(movesOf(avx2));
        ASSERT_EQ(std::memcmp(&sse2, &avx2, sizeof sse2), 0) << "moved channels";
    }
}

} // namespace
