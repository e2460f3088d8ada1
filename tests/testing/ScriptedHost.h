#pragma once
// A host for tests: hands out queued answers in order and records everything
// the program showed or asked, so a test can check the exact titles and texts.
// A question nobody scripted fails the test and is answered No / cancelled.

#include "toolkit/Host.h"

#include <deque>
#include <string>
#include <vector>

namespace th::testing {

class ScriptedHost final : public toolkit::Host {
public:
    struct Shown {
        std::string kind; // "message", "ask", "save", "open" or "folder"
        std::string title;
        std::string text; // message text, proposed name or start folder
        std::string pattern;
    };

    explicit ScriptedHost(std::string home = "/nonexistent/") : home_(std::move(home)) {}

    // Answers for ask(), in order.
    std::deque<bool> answers;
    // Answers for the save and open panels and the folder chooser, in order;
    // "" means the user cancelled.
    std::deque<std::string> paths;
    std::vector<Shown> shown;
    std::string clipboard;
    int version = 60000;

    void message(const std::string& title, const std::string& text) override;
    bool ask(const std::string& title, const std::string& text) override;
    std::string savePanel(const std::string& title, const std::string& proposedName,
                          const std::string& pattern) override;
    std::string openPanel(const std::string& title, const std::string& pattern) override;
    std::string chooseFolder(const std::string& title, const std::string& start) override;
    void setClipboardText(const std::string& text) override { clipboard = text; }
    std::string homeFolder() override { return home_; }
    int hostVersion() override { return version; }

    // The titles shown, in order, for short assertions.
    std::vector<std::string> titles() const;

private:
    std::string nextPath(const std::string& title);
    std::string home_;
};

} // namespace th::testing
