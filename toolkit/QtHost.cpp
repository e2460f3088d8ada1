#include "toolkit/QtHost.h"

#include "toolkit/HostVersion.h"
#include "toolkit/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include <cstdlib>

namespace th::toolkit {

namespace {

QString q(const std::string& text) { return qtText(text); }
QString qName(const std::string& bytes) { return qtFileName(bytes); }
std::string sName(const QString& name) { return fileNameBytes(name); }

// Patterns come as "*.png" or as "PNG (*.png)|*.png" (a label, then the
// pattern); Qt's dialogs want "PNG (*.png)".
QString dialogFilter(const std::string& pattern)
{
    return q(pattern.substr(0, pattern.find('|')));
}

// Linux has no 10.x numbering; it reports itself as a modern host once and for
// all, so every installation uses the short data-folder layout.
constexpr int kLinuxPackedVersion = 0x10F0;

} // namespace

// A notice owned by the main window while the script editor is in front
// would bring the main window forward over the editor; owned by the window it
// came from and modal to that window only, it leaves the stacking alone.
int QtHost::showNotice(QMessageBox& box)
{
    QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : parent_;
    box.setParent(owner, box.windowFlags());
    box.setWindowModality(Qt::WindowModal);
    const int answer = box.exec();
    if (owner) {
        owner->raise();
        owner->activateWindow();
    }
    return answer;
}

void QtHost::message(const std::string& title, const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, q(title), q(text), QMessageBox::Ok);
    showNotice(box);
}

bool QtHost::ask(const std::string& title, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, q(title), q(text), QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return showNotice(box) == QMessageBox::Yes;
}

QString QtHost::startFolder()
{
    return lastFolder_.isEmpty() ? qName(homeFolder()) : lastFolder_;
}

void QtHost::remember(const QString& chosen, bool isFolder)
{
    if (!chosen.isEmpty())
        lastFolder_ = isFolder ? chosen : QFileInfo(chosen).absolutePath();
}

std::string QtHost::savePanel(const std::string& title, const std::string& proposedName,
                              const std::string& pattern)
{
    const QString chosen = QFileDialog::getSaveFileName(parent_, q(title), QDir(startFolder()).filePath(qName(proposedName)),
                                                        dialogFilter(pattern));
    remember(chosen, false);
    return sName(chosen);
}

std::string QtHost::openPanel(const std::string& title, const std::string& pattern)
{
    const QString chosen = QFileDialog::getOpenFileName(parent_, q(title), startFolder(), dialogFilter(pattern));
    remember(chosen, false);
    return sName(chosen);
}

std::string QtHost::chooseFolder(const std::string& title, const std::string& start)
{
    const QString folder =
        QFileDialog::getExistingDirectory(parent_, q(title), start.empty() ? startFolder() : qName(start));
    remember(folder, true);
    return folder.isEmpty() ? std::string() : withTrailingSlash(sName(folder));
}

void QtHost::setClipboardText(const std::string& text)
{
    QApplication::clipboard()->setText(q(text));
}

void QtHost::showFile(const std::string& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(qName(path)));
}

std::string QtHost::homeFolder()
{
    const char* home = std::getenv("HOME");
    return withTrailingSlash(home && *home ? std::string(home) : sName(QDir::homePath()));
}

int QtHost::hostVersion()
{
    return hostVersionFromPacked(kLinuxPackedVersion);
}

} // namespace th::toolkit
