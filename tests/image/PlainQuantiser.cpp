#include "PlainQuantiser.h"

#include <algorithm>
#include <cmath>

namespace th::image::testing {
namespace {

struct Net {
    int netsize;
    double n[256][4]; // alpha, blue, green, red
    double bias[256], freq[256], radpower[32], G[256];
    int map[256][4]; // red, green, blue, alpha
    int index[256];
};

int colour(double v)
{
    return v < 0 ? 0 : static_cast<int>(std::min(255.0, std::floor(((std::pow(v / 255, 1.8) * 255) / 255) * 256)));
}
int alphaByte(double v) { return v < 0 ? 0 : static_cast<int>(std::min(255.0, std::floor(v / 255 * 256))); }

void learn(Net& net, const std::uint8_t* p, std::size_t length, int factor)
{
    std::size_t samplepixels = length / (4 * static_cast<std::size_t>(factor));
    std::size_t delta = samplepixels / 100;
    if (delta == 0)
        delta = 1;
    double alpha = 1024, radius = 32.0;
    int rad = 32;
    for (int m = 0; m < 32; ++m)
        net.radpower[m] = std::floor(1024.0 * ((1024 - m * m) / 4));
    std::size_t step = length % 499 ? 4 * 499 : length % 491 ? 4 * 491 : length % 487 ? 4 * 487 : 4 * 503;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < samplepixels;) {
        double t[4] = {0, 0, 0, 0}; // alpha, blue, green, red
        if (p[pos + 3] != 0) {
            t[0] = p[pos + 3];
            t[1] = net.G[p[pos + 2]];
            t[2] = net.G[p[pos + 1]];
            t[3] = net.G[p[pos]];
        }
        double w = 1 - (1 - t[0] / 255) * (1 - t[0] / 255);
        double bestd = 1073741824.0, bestbiasd = bestd;
        int bestpos = 0, bestbiaspos = 0;
        for (int j = 0; j < net.netsize; ++j) {
            double partial = std::fabs(net.n[j][3] - t[3]) * w + std::fabs(net.n[j][1] - t[1]) * w;
            if (partial < bestd || partial < bestbiasd + net.bias[j]) {
                double dist = std::fabs(net.n[j][0] - t[0]) + std::fabs(net.n[j][2] - t[2]) * w + partial;
                if (dist < bestd) {
                    bestd = dist;
                    bestpos = j;
                }
                if (dist - net.bias[j] < bestbiasd) {
                    bestbiasd = dist - net.bias[j];
                    bestbiaspos = j;
                }
            }
            double f = net.freq[j] * (1.0 / 1024);
            net.freq[j] -= f;
            net.bias[j] += f * 1024;
        }
        net.freq[bestpos] += 1.0 / 1024;
        net.bias[bestpos] -= 1;
        int win = bestbiaspos;
        for (int k = 0; k < 4; ++k)
            net.n[win][k] = net.n[win][k] - (net.n[win][k] - t[k]) * (alpha / 1024);
        if (rad != 0)
            for (int d = 1; d < rad; ++d)
                for (int j : {win - d, win + d})
                    if (j >= 0 && j < net.netsize)
                        for (int k = 0; k < 4; ++k)
                            net.n[j][k] = net.n[j][k] - (net.n[j][k] - t[k]) * (net.radpower[d] / 262144);
        pos += step;
        while (pos >= length)
            pos -= length;
        ++i;
        if (i % delta == 0) {
            alpha -= alpha / (30 + (factor - 1) / 3);
            radius -= radius / 30;
            rad = static_cast<int>(radius);
            if (rad <= 1)
                rad = 0;
            else
                for (int m = 0; m < rad; ++m)
                    net.radpower[m] = std::floor(alpha * (((rad * rad - m * m) * 256) / (rad * rad)));
        }
    }
}

void buildIndex(Net& net)
{
    for (int j = 0; j < net.netsize; ++j) {
        net.map[j][0] = static_cast<int>(net.G[colour(net.n[j][3])]);
        net.map[j][1] = static_cast<int>(net.G[colour(net.n[j][2])]);
        net.map[j][2] = static_cast<int>(net.G[colour(net.n[j][1])]);
        net.map[j][3] = alphaByte(net.n[j][0]);
    }
    int previous = 0, start = 0;
    for (int i = 0; i < net.netsize; ++i) {
        int p = i;
        for (int q = i + 1; q < net.netsize; ++q)
            if (net.map[q][1] < net.map[p][1])
                p = q;
        std::swap(net.n[i], net.n[p]);
        std::swap(net.map[i], net.map[p]);
        int g = net.map[i][1];
        if (g != previous) {
            net.index[previous] = (start + i) / 2;
            for (int k = previous + 1; k < g; ++k)
                net.index[k] = i;
            previous = g;
            start = i;
        }
    }
    net.index[previous] = (start + net.netsize - 1) / 2;
    for (int k = previous + 1; k < 256; ++k)
        net.index[k] = net.netsize - 1;
}

int search(const Net& net, int a, int b, int g, int r)
{
    if (a == 0) {
        r = g = b = 0;
    } else {
        r = static_cast<int>(net.G[r]);
        g = static_cast<int>(net.G[g]);
        b = static_cast<int>(net.G[b]);
    }
    double w = 1 - (1 - a / 255.0) * (1 - a / 255.0);
    double bestd = 1073741824.0;
    int best = 0;
    int i = net.index[g], j = i - 1;
    // Terms in the order of each direction: {channel in map, value}.
    while (i < net.netsize || j >= 0) {
        for (int side = 0; side < 2; ++side) {
            int at = side == 0 ? i : j;
            if (side == 0 ? at >= net.netsize : at < 0)
                continue;
            const int second = side == 0 ? 0 : 2, third = side == 0 ? 2 : 0;
            const int want[4] = {r, g, b, a};
            double d = double(net.map[at][1] - g) * (net.map[at][1] - g) * w;
            if (d > bestd)
                return best;
            d += double(net.map[at][second] - want[second]) * (net.map[at][second] - want[second]) * w;
            if (d < bestd) {
                d += double(net.map[at][third] - want[third]) * (net.map[at][third] - want[third]) * w;
                if (d < bestd) {
                    d += double(net.map[at][3] - a) * (net.map[at][3] - a);
                    if (d < bestd) {
                        bestd = d;
                        best = at;
                    }
                }
            }
            if (side == 0)
                ++i;
            else
                --j;
        }
    }
    return best;
}

} // namespace

PlainResult plainQuantise(const std::vector<std::uint8_t>& rgba, int width, int height, int depth, bool mapPixels)
{
    Net net{};
    net.netsize = 1 << depth;
    for (int i = 0; i < 256; ++i)
        net.G[i] = std::round(255 * std::pow(i / 255.0, 1 / 1.8));
    for (int i = 0; i < net.netsize; ++i) {
        net.n[i][1] = net.n[i][2] = net.n[i][3] = net.G[(i * 256) / net.netsize];
        net.n[i][0] = i <= 15 ? 16.0 * i : 255;
        net.freq[i] = 1.0 / net.netsize;
    }
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    const int factor = static_cast<int>(std::min<std::size_t>(pixels / 262144 + 1, 10));
    learn(net, rgba.data(), pixels * 4, factor);
    buildIndex(net);
    PlainResult result;
    for (int j = 0; j < net.netsize; ++j)
        result.palette.push_back({static_cast<std::uint8_t>(colour(net.n[j][3])), static_cast<std::uint8_t>(colour(net.n[j][2])),
                                  static_cast<std::uint8_t>(colour(net.n[j][1])), static_cast<std::uint8_t>(alphaByte(net.n[j][0]))});
    for (std::size_t k = 0; mapPixels && k < pixels; ++k)
        result.indices.push_back(search(net, rgba[k * 4 + 3], rgba[k * 4 + 2], rgba[k * 4 + 1], rgba[k * 4]));
    return result;
}

} // namespace th::image::testing
