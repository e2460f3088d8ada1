#pragma once
// The numbers the program gives its windows, menu items and main-window
// gadgets; event dispatch is keyed on them.

namespace th::app {

enum WindowId {
    kMainWindow = 0,
    kScriptEditorWindow = 1,
    kAboutWindow = 2,
    kExportWindow = 3,
    kHelpWindow = 4,
};

enum MenuId {
    kMenuAbout = -3,
    kMenuQuit = -1,
    kMenuNewCanvas = 1,
    kMenuOpenImageFolder = 2,
    kMenuImportImage = 3,
    kMenuDeleteImage = 4,
    kMenuExportSheet = 5,
    kMenuResetColumns = 21,
    kMenuClipAlpha = 22,
    kMenuExpandClip = 23,
    kMenuSaveScript = 24,
    kMenuDeleteScript = 25,
    kMenuScriptWindow = 26,
    kMenuPackTightly = 27,
    kMenuPackMayTurn = 28,
    kMenuPackGap = 29,
    kMenuHelp = 34,
    kMenuOpenProject = 6,
    kMenuSaveProject = 7,
    kMenuSaveProjectAs = 8,
    kMenuUndo = 40,
    kMenuRedo = 41,
    kMenuNaturalOrder = 42,
    kMenuZoomIn = 50,
    kMenuZoomOut = 51,
    kMenuZoom25 = 52,
    kMenuZoom50 = 53,
    kMenuZoom100 = 54,
    kMenuZoom200 = 55,
    kMenuZoom400 = 56,
    kMenuZoomFit = 57,
    // The Gap submenu's items, one per pixel count from 0 to 16.
    kMenuPackGapFirst = 60,
    kMenuPackGapLast = 76,
};

enum MainGadget {
    kScrollAreaGadget = 0,
    kCanvasGadget = 1,
    kCanvasSizeLabel = 2,
    kCanvasSizeSelector = 3,
    kPositionLabel = 4,
    kOpenFolderButton = 6,
    kImportImageButton = 7,
    kDeleteImageButton = 8,
    kScriptEditorButton = 9,
    kExportButton = 10,
    kSeparator11 = 11,
    kSeparator12 = 12,
    kNewCanvasButton = 13,
    kSeparator14 = 14,
    kSnapSwitch = 15,
    kNameLabel = 16,
    kSnapLabel = 17,
};

} // namespace th::app
