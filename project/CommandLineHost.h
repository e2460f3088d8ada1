#pragma once
// The host of tile-heron-export: no display, no questions. Messages go to
// the error stream; the clipboard's text goes to the output stream when the
// user asked for it there, and is dropped otherwise.

#include "toolkit/Host.h"

#include <ostream>

namespace th::project {

class CommandLineHost final : public toolkit::Host {
public:
    CommandLineHost(std::ostream& out, std::ostream& err, bool clipboardToOut)
        : out_(out)
        , err_(err)
        , clipboardToOut_(clipboardToOut)
    {
    }

    void message(const std::string& title, const std::string& text) override;
    // Nobody is there to answer: No.
    bool ask(const std::string& title, const std::string& text) override;
    std::string savePanel(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string openPanel(const std::string&, const std::string&) override { return {}; }
    std::string chooseFolder(const std::string&, const std::string&) override { return {}; }
    void setClipboardText(const std::string& text) override;
    // Nothing is shown on the command line.
    void showFile(const std::string&) override {}
    std::string homeFolder() override;
    int hostVersion() override;

private:
    std::ostream& out_;
    std::ostream& err_;
    bool clipboardToOut_;
};

} // namespace th::project
