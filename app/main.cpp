// Start-up: the data folder's lock, the folder and its defaults, the image
// library, then the main window, the offer to restore the last run's
// arrangement and the event loop. A change not yet kept and an open
// preference store are saved on the way out. A second copy of the program
// on the same data folder leaves the arrangement to the first.

#include "app/DataFolderLock.h"
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
    th::app::DataFolderLock lock(th::toolkit::dataFolderFor(host.homeFolder(), host.hostVersion()));
    const th::app::DataFolderUse use = lock.claim(host);
    if (use == th::app::DataFolderUse::Quit)
        return 0;
    const bool owner = use == th::app::DataFolderUse::Owner;
    const std::string dataFolder =
        th::toolkit::prepareDataFolder(host.homeFolder(), host.hostVersion(), preferences, owner);

    th::image::ImageStore images;
    th::image::registerStandardCodecs(images);

    const th::app::ToolbarPictures pictures = th::app::loadToolbarPictures(images);
    application.setWindowIcon(pictures.applicationIcon);
    th::app::MainWindow window(host, pictures, th::app::pictureAccess(images));
    window.enableExport(images, dataFolder);
    window.enableScriptEditor(preferences, dataFolder + th::toolkit::kPreferenceFileName, dataFolder);
    window.keepPackChoices(preferences);
    host.setParent(&window);
    window.show();
    // Asks "Restore Arrangement?" when the last run ended with sprites on the canvas.
    if (owner)
        window.keepArrangement(dataFolder + th::project::kAutosaveName);
    const int status = application.exec();
    window.finishKeeping();
    preferences.close();
    return status;
}
