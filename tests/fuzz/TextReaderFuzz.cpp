// The text file reader over any bytes: every line is handed out once, none
// holds a line end, and the lines with their ends account for every byte.

#include "FuzzTarget.h"

#include "files/TextFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path file = th::fuzz::scratchFolder() / "text.txt";
    th::fuzz::putFile(file, data, size);
    th::files::TextReader reader(file, th::files::FileKind::Template);
    if (!reader.isOpen())
        std::abort();
    std::size_t consumed = 0;
    std::size_t lines = 0;
    while (!reader.atEnd()) {
        const std::string line = reader.readLine();
        if (line.find_first_of(std::string("\n\r\0", 3)) != std::string::npos || ++lines > size)
            std::abort();
        consumed += line.size();
    }
    // Each line ended in one to two bytes (CR LF), except perhaps the last.
    if (consumed + lines > size + 1 || consumed + 2 * lines < size)
        std::abort();
    return 0;
}
