#include "export/LeadingNumber.h"

#include <optional>

namespace th::exporting {

namespace {

std::optional<unsigned> digitValue(char c, unsigned base)
{
    unsigned value = 0;
    if (c >= '0' && c <= '9')
        value = unsigned(c - '0');
    else if (c >= 'a' && c <= 'f')
        value = unsigned(c - 'a') + 10;
    else if (c >= 'A' && c <= 'F')
        value = unsigned(c - 'A') + 10;
    else
        return std::nullopt;
    if (value >= base)
        return std::nullopt;
    return value;
}

} // namespace

std::int64_t readLeadingNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    unsigned base = 10;
    if (at < text.size() && (text[at] == '$' || text[at] == '%'))
        base = text[at++] == '$' ? 16 : 2;
    // Unsigned arithmetic so that an absurdly long number wraps instead of
    // overflowing.
    std::uint64_t value = 0;
    for (; at < text.size(); ++at) {
        const std::optional<unsigned> digit = digitValue(text[at], base);
        if (!digit)
            break;
        value = value * base + *digit;
    }
    return std::int64_t(negative ? 0 - value : value);
}

} // namespace th::exporting
