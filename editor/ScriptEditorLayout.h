#pragma once
// The script editor window's elements, by the numbers its dispatch uses, and
// where each stands for a given content size. Plain arithmetic, no Qt.

#include "toolkit/TemplateTokens.h"


namespace th::editor {

enum ScriptEditorElement {
    // The preview of the current template: its title, its text and the check
    // box that shows or hides both.
    kPreviewLabel = 95,
    kPreviewPane = 96,
    kPreviewToggle = 97,
    // Drop-down buttons: the later tokens, and the gallery's templates.
    kMoreTagsButton = 98,
    kGalleryButton = 99,
    kTabPanel = 100,
    kFirstEditor = 101,
    kCreateButton = 102,
    kDeleteButton = 103,
    kNameLabel = 104,
    kNameField = 105,
    kSaveButton = 107,
    kTagsFrame = 108,
    kFirstTokenButton = 109, // 109 to 123, top to bottom
    kThemeList = 124,
};

inline constexpr int kTokenButtonCount = 15;
// The tokens after the buttons' that have a button of their own in the
// table, offered by the "More Tags" menu in table order.
inline constexpr int kMoreTagsCount = int(toolkit::kTemplateTokens.size()) - kTokenButtonCount - 1;
inline constexpr int kEditorContentWidth = 720;
inline constexpr int kEditorContentHeight = 540;

struct ElementRect {
    int x, y, width, height;
    bool operator==(const ElementRect&) const = default;
};

// The element's place for content width W and height H; the tab panel's
// inner area decides the editors' size, so they are not listed here.
// Divisions drop the fraction. A shown preview takes the lower half of the
// tab panel's place.
ElementRect scriptEditorRect(int element, int W, int H, bool previewShown = false);

// The token a button inserts, top to bottom, then the "More Tags" menu's
// entries: the table's tokens that have a button, in its order.
const toolkit::TokenInfo& tokenOfButton(int button);

} // namespace th::editor
