// Start-up: the data folder and its defaults, the image library, then the
// main window, the offer to restore the last run's arrangement and the event
// loop. A change not yet kept and an open preference store are saved on the
// way out.

#include "toolkit/DataFolder.h"
#include "app/MainWindow.h"
#include "app/Pictures.h"
#include "toolkit/PreferenceStore.h"
#include "image/ImageStore.h"
#include "image/StandardCodecs.h"
#include "project/ProjectCommands.h"
#include "toolkit/QtHost.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    th::toolkit::QtHost host;
    th::toolkit::PreferenceStore preferences;
    const std::string dataFolder = th::toolkit::prepareDataFolder(host.homeFolder(), host.hostVersion(), preferences);

    th::image::ImageStore images;
    th::image::registerStandardCodecs(images);

    const th::app::ToolbarPictures pictures = th::app::loadToolbarPictures(images);
    application.setWindowIcon(pictures.applicationIcon);
    th::app::MainWindow window(host, pictures, th::app::pictureAccess(images));
    window.enableExport(images, dataFolder);
    window.enableScriptEditor(preferences, dataFolder + th::toolkit::kPreferenceFileName, dataFolder);
    host.setParent(&window);
    window.show();
    // Asks "Restore Arrangement?" when the last run ended with sprites on the canvas.
    window.keepArrangement(dataFolder + th::project::kAutosaveName);
    const int status = application.exec();
    window.finishKeeping();
    preferences.close();
    return status;
}
