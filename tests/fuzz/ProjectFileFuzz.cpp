// The project reader over any file: it ends with a project or with the
// problems that refused it, never both, never neither, and never by an
// exception. A project it accepts is written and read back unchanged.

#include "FuzzTarget.h"

#include "project/ProjectFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path file = th::fuzz::scratchFolder() / "project.theron";
    th::fuzz::putFile(file, data, size);
    const th::project::ProjectReading reading = th::project::readProject(file);
    if (reading.project.has_value() == !reading.problems.empty())
        std::abort();
    if (!reading.project)
        return 0;
    const std::string text = th::project::projectText(*reading.project, file);
    const th::project::ProjectReading again = th::project::parseProject(text, file);
    if (!again.project || th::project::projectText(*again.project, file) != text)
        std::abort();
    return 0;
}
