#include "app/MainLayout.h"

#include "app/MainWindowIds.h"

namespace th::app {

GadgetRect mainGadgetRect(int gadget, int W, int H)
{
    const int positionX = W / 2 - 100;
    const int R = positionX + 200;
    switch (gadget) {
    case kScrollAreaGadget: return {0, kToolbarHeight, W, H - kToolbarHeight};
    // Ten pixels wider to the left than it was drawn at first: the words are
    // right-aligned and must end clear of the selector, which overlaps the
    // place's last ten pixels.
    case kCanvasSizeLabel: return {W - 185, 8, 90, 25};
    case kCanvasSizeSelector: return {W - 105, 3, 100, 25};
    case kPositionLabel: return {positionX, 8, 200, 25};
    case kNewCanvasButton: return {30, 4, 24, 24};
    case kSeparator14: return {58, 4, 8, 24};
    case kOpenFolderButton: return {72, 4, 24, 24};
    case kImportImageButton: return {102, 4, 24, 24};
    case kDeleteImageButton: return {133, 4, 24, 24};
    case kSeparator11: return {160, 4, 8, 24};
    case kScriptEditorButton: return {172, 4, 24, 24};
    case kSeparator12: return {199, 4, 8, 24};
    case kExportButton: return {212, 4, 24, 24};
    case kSnapSwitch: return {(W - 180 - R) / 2 - 65 + R, 8, 16, 15};
    case kSnapLabel: return {(W - 145 - R) / 2 - 65 + R, 8, 85, 25};
    case kNameLabel: return {240, 8, positionX - 220, 25};
    default: return {0, 0, 0, 0};
    }
}

int canvasOffset(int S, int viewWidth)
{
    return S < viewWidth - 15 ? (viewWidth - S) / 2 : 0;
}

} // namespace th::app
