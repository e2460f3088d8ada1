// The network's lanes in AVX2; the build compiles this file, and only this
// one, for AVX2, and the quantiser calls it only on processors that have it.

#include "image/NetworkLanes.h"

namespace th::image {

ContestWinners contestAvx2(const ContestNeurons& neurons, const ContestSample& sample)
{
    return contestAnyWeight<Avx2Lanes>(neurons, sample);
}

void moveAvx2(const NeuronMoves& moves) { moveLanes<Avx2Lanes>(moves); }

} // namespace th::image
