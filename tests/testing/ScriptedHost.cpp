#include "testing/ScriptedHost.h"

#include <gtest/gtest.h>

namespace th::testing {

void ScriptedHost::message(const std::string& title, const std::string& text)
{
    shown.push_back({"message", title, text, {}});
}

bool ScriptedHost::ask(const std::string& title, const std::string& text)
{
    shown.push_back({"ask", title, text, {}});
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << title << " / " << text;
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string ScriptedHost::nextPath(const std::string& title)
{
    if (paths.empty()) {
        ADD_FAILURE() << "unscripted panel: " << title;
        return {};
    }
    std::string path = paths.front();
    paths.pop_front();
    return path;
}

std::string ScriptedHost::savePanel(const std::string& title, const std::string& proposedName,
                                    const std::string& pattern)
{
    shown.push_back({"save", title, proposedName, pattern});
    return nextPath(title);
}

std::string ScriptedHost::openPanel(const std::string& title, const std::string& pattern)
{
    shown.push_back({"open", title, {}, pattern});
    return nextPath(title);
}

std::string ScriptedHost::chooseFolder(const std::string& title, const std::string& start)
{
    shown.push_back({"folder", title, start, {}});
    return nextPath(title);
}

std::vector<std::string> ScriptedHost::titles() const
{
    std::vector<std::string> result;
    for (const Shown& entry : shown)
        result.push_back(entry.title);
    return result;
}

} // namespace th::testing
