#pragma once
// toolkit: everything the program asks of the desktop, behind one interface,
// so that tests can script the user's answers. QtHost is the real one.

#include <string>

namespace th::toolkit {

class Host {
public:
    virtual ~Host() = default;

    // A modal box with one OK button.
    virtual void message(const std::string& title, const std::string& text) = 0;
    // A modal Yes/No question; true only for Yes.
    virtual bool ask(const std::string& title, const std::string& text) = 0;
    // Panels return the chosen path, or "" when the user cancels. A pattern is
    // a file-name pattern such as "*.png".
    virtual std::string savePanel(const std::string& title, const std::string& proposedName,
                                  const std::string& pattern) = 0;
    virtual std::string openPanel(const std::string& title, const std::string& pattern) = 0;
    // The chosen folder, ending in "/", or "" when cancelled.
    virtual std::string chooseFolder(const std::string& title, const std::string& start) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // Opens a file in the desktop's program for it (a README in a viewer).
    virtual void showFile(const std::string& path) = 0;

    // The user's home folder, always ending in "/".
    virtual std::string homeFolder() = 0;
    // The host version code (see HostVersion.h).
    virtual int hostVersion() = 0;
};

// Adds the trailing "/" the program relies on when a folder path lacks it.
inline std::string withTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace th::toolkit
