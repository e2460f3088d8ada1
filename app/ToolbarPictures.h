#pragma once
// The main window's pictures by the program's image numbers: 0-4 the normal
// toolbar buttons, 5-9 and 12 their pressed forms, 10 the separator, 11 the
// new-canvas button, 13 and 14 the snap switch off and on; the canvas
// background tile; and the application icon at every size it is drawn in.

#include <QHash>
#include <QIcon>
#include <QPixmap>

namespace th::app {

struct ToolbarPictures {
    QHash<int, QPixmap> byNumber;
    QPixmap backgroundTile;
    QIcon applicationIcon;
};

} // namespace th::app
