#include "editor/ScriptEditorLayout.h"

namespace th::editor {

ElementRect scriptEditorRect(int element, int W, int H, bool previewShown)
{
    const int panelWidth = W - 165;
    const int panelHeight = previewShown ? (H - 75) / 2 : H - 75;
    const int previewTop = 40 + panelHeight + 5;
    if (element >= kFirstTokenButton && element < kFirstTokenButton + kTokenButtonCount)
        return {W - 150, 35 + 30 * (element - kFirstTokenButton), 135, 25};
    switch (element) {
    case kTabPanel: return {5, 40, panelWidth, panelHeight};
    case kPreviewLabel: return previewShown ? ElementRect{5, previewTop, 200, 20} : ElementRect{0, 0, 0, 0};
    case kPreviewPane:
        return previewShown ? ElementRect{5, previewTop + 20, panelWidth, H - 35 - 5 - previewTop - 20}
                            : ElementRect{0, 0, 0, 0};
    // Right of "Save Script", which ends well before it at the smallest size.
    case kPreviewToggle: return {panelWidth - 90, H - 35, 90, 25};
    case kCreateButton: return {245, 15, 40, 20};
    case kDeleteButton: return {panelWidth / 2 - 145, H - 35, 150, 25};
    case kNameLabel: return {10, 15, 80, 20};
    case kNameField: return {90, 15, 150, 20};
    case kSaveButton: return {panelWidth / 2 + 5, H - 35, 150, 25};
    case kTagsFrame: return {W - 155, 10, 145, H - 20};
    case kThemeList: return {W - 295, 13, 130, 25};
    // Under the last token button, inside the tags frame.
    case kMoreTagsButton: return {W - 150, 35 + 30 * kTokenButtonCount, 135, 25};
    // Between "+" and the theme list, which leaves room for it at the
    // smallest window size.
    case kGalleryButton: return {290, 15, 130, 20};
    default: return {0, 0, 0, 0};
    }
}

static_assert(toolkit::kTemplateTokens.back().inserted.empty(), "only the last token has no button");

const toolkit::TokenInfo& tokenOfButton(int button)
{
    return toolkit::kTemplateTokens[static_cast<std::size_t>(button)];
}

} // namespace th::editor
