#include "canvas/NaturalOrder.h"

#include <algorithm>

namespace th::canvas {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The run of digits at `at`, without its leading zeros; `at` moves past it.
std::string_view digitRun(std::string_view text, std::size_t& at)
{
    std::size_t start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    while (start + 1 < at && text[start] == '0')
        ++start;
    return text.substr(start, at - start);
}

// Negative, zero or positive as a comes before, with or after b naturally.
// Digit runs of any length compare without being converted, so no name
// can overflow them.
int naturalCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view x = digitRun(a, i);
            const std::string_view y = digitRun(b, j);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int order = x.compare(y); order != 0)
                return order;
            continue;
        }
        const auto x = static_cast<unsigned char>(a[i++]);
        const auto y = static_cast<unsigned char>(b[j++]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return (i < a.size()) - (j < b.size());
}

std::string_view fileNameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

bool naturallyBefore(std::string_view a, std::string_view b)
{
    const int order = naturalCompare(a, b);
    return order != 0 ? order < 0 : a < b;
}

void sortNaturally(std::vector<std::string>& paths)
{
    std::stable_sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        const std::string_view x = fileNameOf(a), y = fileNameOf(b);
        return x != y ? naturallyBefore(x, y) : a < b;
    });
}

} // namespace th::canvas
