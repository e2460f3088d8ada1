// The contest in AVX2 lanes; the build compiles this file, and only this
// one, for AVX2, and the quantiser calls it only on processors that have it.

#include "image/ContestLanes.h"

namespace th::image {

ContestWinners contestAvx2(const ContestNeurons& neurons, const ContestSample& sample)
{
    return contestAnyWeight<Avx2Lanes>(neurons, sample);
}

} // namespace th::image
