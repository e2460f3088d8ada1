#include "project/CommandLineHost.h"

#include "toolkit/HostVersion.h"

#include <cstdlib>

namespace th::project {

void CommandLineHost::message(const std::string& title, const std::string& text)
{
    err_ << title << " " << text << "\n";
}

bool CommandLineHost::ask(const std::string& title, const std::string& text)
{
    message(title, text);
    return false;
}

void CommandLineHost::setClipboardText(const std::string& text)
{
    if (clipboardToOut_)
        out_ << text << std::flush;
}

std::string CommandLineHost::homeFolder()
{
    const char* home = std::getenv("HOME");
    return toolkit::withTrailingSlash(home ? home : "");
}

// As the desktop program on the same system: the short data-folder layout.
int CommandLineHost::hostVersion()
{
    return toolkit::kHostVersionModern;
}

} // namespace th::project
