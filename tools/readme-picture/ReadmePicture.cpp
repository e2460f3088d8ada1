// Draws the README's picture: the main window with the examples imported and
// set in columns, and the script editor beside it, grabbed from the screen
// as the program shows them. Run by tools/readme-picture.sh on a virtual X
// server, so the picture can be made again whenever the windows change.

#include "toolkit/DataFolder.h"
#include "app/MainWindow.h"
#include "app/MainWindowIds.h"
#include "app/Pictures.h"
#include "toolkit/PreferenceStore.h"
#include "editor/ScriptEditorWindow.h"
#include "image/ImageStore.h"
#include "image/StandardCodecs.h"
#include "toolkit/QtHost.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <iostream>

namespace {

// Answers the folder chooser with the examples and shows nothing else; the
// home folder and host are the desktop's.
class ExamplesHost final : public th::toolkit::Host {
public:
    explicit ExamplesHost(std::string examples) : examples_(std::move(examples)) {}
    void message(const std::string& title, const std::string& text) override
    {
        std::cerr << title << ": " << text << "\n";
    }
    bool ask(const std::string& title, const std::string&) override
    {
        std::cerr << "answered No: " << title << "\n";
        return false;
    }
    std::string savePanel(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string openPanel(const std::string&, const std::string&) override { return {}; }
    std::string chooseFolder(const std::string&, const std::string&) override { return examples_; }
    void setClipboardText(const std::string&) override {}
    void showFile(const std::string&) override {}
    std::string homeFolder() override { return desktop_.homeFolder(); }
    int hostVersion() override { return desktop_.hostVersion(); }

private:
    std::string examples_;
    th::toolkit::QtHost desktop_;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: th-readme-picture EXAMPLES-FOLDER PICTURE.png\n";
        return 2;
    }
    ExamplesHost host(th::toolkit::withTrailingSlash(argv[1]));
    th::toolkit::PreferenceStore preferences;
    const std::string dataFolder = th::toolkit::prepareDataFolder(host.homeFolder(), host.hostVersion(), preferences);
    th::image::ImageStore images;
    th::image::registerStandardCodecs(images);
    const th::app::ToolbarPictures pictures = th::app::loadToolbarPictures(images);
    application.setWindowIcon(pictures.applicationIcon);

    th::app::MainWindow window(host, pictures, th::app::pictureAccess(images));
    window.enableExport(images, dataFolder);
    window.enableScriptEditor(preferences, dataFolder + th::toolkit::kPreferenceFileName, dataFolder);
    window.move(0, 0);
    window.show();
    window.onGadget(th::app::kOpenFolderButton);
    window.onMenu(th::app::kMenuResetColumns);
    window.onMenu(th::app::kMenuScriptWindow);
    QWidget* editor = window.scriptEditor();
    if (!editor) {
        std::cerr << "the script editor did not open\n";
        return 1;
    }
    editor->move(window.frameGeometry().right() + 1, 0);

    const QString picture = QString::fromLocal8Bit(argv[2]);
    int status = 1;
    // Once both windows have been drawn.
    QTimer::singleShot(1000, [&] {
        const QRect both = window.frameGeometry().united(editor->frameGeometry());
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, both.x(), both.y(), both.width(),
                                                                          both.height());
        status = shot.save(picture, "PNG") ? 0 : 1;
        if (status != 0)
            std::cerr << "could not write " << picture.toStdString() << "\n";
        editor->close();
        QApplication::quit();
    });
    application.exec();
    preferences.close();
    return status;
}
