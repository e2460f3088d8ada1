#pragma once
// A host for tests: hands out queued answers in order and records everything
// the program showed or asked, so a test can check the exact titles and texts.
// A question nobody scripted fails the test and is answered No / cancelled.

#include "toolkit/Host.h"

#include <gtest/gtest.h>

#include <deque>
#include <ranges>
#include <string>
#include <vector>

namespace th::testing {

class ScriptedHost final : public toolkit::Host {
public:
    struct Shown {
        std::string kind; // "message", "ask", "save", "open", "folder" or "show"
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

    void message(const std::string& title, const std::string& text) override
    {
        shown.push_back({"message", title, text, {}});
    }
    bool ask(const std::string& title, const std::string& text) override
    {
        shown.push_back({"ask", title, text, {}});
        return next(answers, title, false);
    }
    std::string savePanel(const std::string& title, const std::string& proposedName,
                          const std::string& pattern) override
    {
        shown.push_back({"save", title, proposedName, pattern});
        return next(paths, title, std::string());
    }
    std::string openPanel(const std::string& title, const std::string& pattern) override
    {
        shown.push_back({"open", title, {}, pattern});
        return next(paths, title, std::string());
    }
    std::string chooseFolder(const std::string& title, const std::string& start) override
    {
        shown.push_back({"folder", title, start, {}});
        return next(paths, title, std::string());
    }
    void setClipboardText(const std::string& text) override { clipboard = text; }
    void showFile(const std::string& path) override { shown.push_back({"show", {}, path, {}}); }
    std::string homeFolder() override { return home_; }
    int hostVersion() override { return version; }

    // The titles shown, in order, for short assertions.
    std::vector<std::string> titles() const
    {
        const auto view = shown | std::views::transform(&Shown::title);
        return {view.begin(), view.end()};
    }

private:
    template <typename T>
    static T next(std::deque<T>& queue, const std::string& title, T unscripted)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unscripted question or panel: " << title;
            return unscripted;
        }
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
    std::string home_;
};

} // namespace th::testing
