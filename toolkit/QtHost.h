#pragma once
// The real desktop: Qt message boxes, file dialogs and clipboard.

#include "toolkit/Host.h"

#include <QString>

class QMessageBox;
class QWidget;

namespace th::toolkit {

class QtHost final : public Host {
public:
    // Panels are shown over `parent` (may be null until a window exists);
    // notices over the window the user is working in.
    explicit QtHost(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const std::string& title, const std::string& text) override;
    bool ask(const std::string& title, const std::string& text) override;
    std::string savePanel(const std::string& title, const std::string& proposedName,
                          const std::string& pattern) override;
    std::string openPanel(const std::string& title, const std::string& pattern) override;
    std::string chooseFolder(const std::string& title, const std::string& start) override;
    void setClipboardText(const std::string& text) override;
    void showFile(const std::string& path) override;
    std::string homeFolder() override;
    int hostVersion() override;

private:
    // Where the next panel starts: where the user last chose something in
    // this run, else the home folder.
    QString startFolder();
    void remember(const QString& chosen, bool isFolder);
    // Shows a notice owned by the active window, else by the parent, and
    // gives that window back the front and the keyboard once it closes.
    int showNotice(QMessageBox& box);

    QWidget* parent_;
    QString lastFolder_;
};

} // namespace th::toolkit
