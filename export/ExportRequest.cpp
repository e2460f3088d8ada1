#include "export/ExportRequest.h"

#include "files/TextFile.h"

namespace th::exporting {

namespace {

template <typename Choice, std::size_t N>
const Choice* keyed(const Choice (&table)[N], std::string_view key)
{
    for (const Choice& choice : table)
        if (choice.key == key)
            return &choice;
    return nullptr;
}

template <typename Choice, std::size_t N>
std::string keysOf(const Choice (&table)[N], std::string_view quote)
{
    std::string list;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0)
            list += i + 1 == N ? " or " : ", ";
        list.append(quote).append(table[i].key).append(quote);
    }
    return list;
}

} // namespace

const DepthChoice* depthChoice(std::string_view key) { return keyed(kDepthChoices, key); }
const BackgroundChoice* backgroundChoice(std::string_view key) { return keyed(kBackgroundChoices, key); }

const DepthChoice& depthChoice(SheetDepth depth)
{
    for (const DepthChoice& choice : kDepthChoices)
        if (choice.depth == depth)
            return choice;
    return kDepthChoices[0];
}

const BackgroundChoice& backgroundChoice(image::Colour colour)
{
    for (const BackgroundChoice& choice : kBackgroundChoices)
        if (choice.colour == colour)
            return choice;
    return kBackgroundChoices[0];
}

std::string depthKeys(std::string_view quote) { return keysOf(kDepthChoices, quote); }
std::string backgroundKeys(std::string_view quote) { return keysOf(kBackgroundChoices, quote); }

// Each choice decides the mode afresh, so a file template chosen after a
// clipboard one writes its file.
void ExportRequest::chooseTemplate(std::optional<std::filesystem::path> file)
{
    templateFile = std::move(file);
    if (!templateFile) {
        script = {};
        return;
    }
    files::TextReader reader(*templateFile, files::FileKind::Template);
    script = templateTarget(reader.readLine());
}

} // namespace th::exporting
