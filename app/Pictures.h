#pragma once
// The application's side of the image library: the toolbar pictures
// carried inside the program, and the picture access the main window's
// canvas uses.

#include "app/MainWindow.h"
#include "app/ToolbarPictures.h"

#include <QImage>

namespace th::image {
class ImageStore;
}

namespace th::app {

// Decodes the pictures under ":/icons" into their image numbers. The
// background tile goes through number 0 first, then 0 holds the open-folder
// button, as every later use expects.
ToolbarPictures loadToolbarPictures(image::ImageStore& store);

// Loads sprite pictures from PNG files into automatic numbers and hands
// their pixels to the canvas view.
PictureAccess pictureAccess(image::ImageStore& store);

} // namespace th::app
