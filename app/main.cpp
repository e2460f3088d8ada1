// Start-up: the data folder and its defaults, the image library, then the
// main window and the event loop. An open preference store is saved on the
// way out.

#include "app/DataFolder.h"
#include "app/MainWindow.h"
#include "app/Pictures.h"
#include "editor/PreferenceStore.h"
#include "image/ImageStore.h"
#include "image/StandardCodecs.h"
#include "toolkit/QtHost.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    th::toolkit::QtHost host;
    th::editor::PreferenceStore preferences;
    const std::string dataFolder = th::app::prepareDataFolder(host.homeFolder(), host.hostVersion(), preferences);

    th::image::ImageStore images;
    th::image::registerStandardCodecs(images);

    const th::app::ToolbarPictures pictures = th::app::loadToolbarPictures(images);
    application.setWindowIcon(pictures.applicationIcon);
    th::app::MainWindow window(host, pictures, th::app::pictureAccess(images));
    window.enableExport(images, dataFolder);
    window.enableScriptEditor(preferences, dataFolder + th::app::kPreferenceFileName, dataFolder);
    host.setParent(&window);
    window.show();
    const int status = application.exec();
    preferences.close();
    return status;
}
