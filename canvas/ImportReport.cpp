#include "canvas/ImportReport.h"

namespace th::canvas {

namespace {

constexpr std::size_t kNamesShown = 10;

// ": a.png, b.png." with at most ten names, then ", …".
std::string listed(const std::vector<std::string>& names)
{
    std::string text = ": ";
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
        text += (i ? ", " : "") + names[i];
    return text + (names.size() > kNamesShown ? ", …" : "") + ".";
}

std::string count(std::size_t n, const char* one, const char* many)
{
    return n == 1 ? std::string("1 ") + one : std::to_string(n) + " " + many;
}

} // namespace

std::string ImportReport::notice() const
{
    std::vector<std::string> lines;
    if (!unreadable.empty())
        lines.push_back(count(unreadable.size(), "file could not be read as a PNG picture and was skipped",
                              "files could not be read as PNG pictures and were skipped")
                        + listed(unreadable));
    if (!incomplete.empty())
        lines.push_back(count(incomplete.size(), "picture ended early and was imported with blank rows",
                              "pictures ended early and were imported with blank rows")
                        + listed(incomplete));
    if (!wrongCase.empty())
        lines.push_back(count(wrongCase.size(), "file was passed over", "files were passed over")
                        + " because only names ending in \".png\" are read" + listed(wrongCase));
    lines.insert(lines.end(), tooLarge.begin(), tooLarge.end());
    if (outside > 0)
        lines.push_back(outside == 1 ? "1 picture lies wholly outside the canvas; choose a larger canvas size or use "
                                       "\"Reset Columns\" to bring it in."
                                     : std::to_string(outside) + " pictures lie wholly outside the canvas; choose a "
                                       "larger canvas size or use \"Reset Columns\" to bring them in.");
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

int countOutside(std::span<const SpriteEntry> sprites, std::int32_t size)
{
    int outside = 0;
    for (const SpriteEntry& sprite : sprites) {
        const std::int64_t right = std::int64_t(sprite.x) + sprite.width;
        const std::int64_t bottom = std::int64_t(sprite.y) + sprite.height;
        if (sprite.x >= size || sprite.y >= size || right <= 0 || bottom <= 0)
            ++outside;
    }
    return outside;
}

} // namespace th::canvas
