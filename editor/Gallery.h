#pragma once
// The gallery: ready templates for the formats game engines and web pages
// load as they are. Their texts ship inside the program (resources/gallery);
// "New from Gallery..." in the script editor copies one into the script
// library under a name the user confirms.

#include <array>
#include <string_view>

namespace th::editor {

struct GalleryTemplate {
    // The script name proposed for the copy.
    std::string_view name;
    // The text's file name under the gallery's resource folder.
    std::string_view file;
    // What the menu tells about it.
    std::string_view description;
};

inline constexpr std::array<GalleryTemplate, 5> kGallery = {{
    {"JSON Hash", "json-hash.txt",
     "Frames by file name with frame, rotated, trimmed, spriteSourceSize, sourceSize, pivot and anchor, for Phaser "
     "and PixiJS. Leave Retina off: both engines read pixels of the sheet."},
    {"JSON Array", "json-array.txt",
     "The same frames as a list, for Phaser. PixiJS names a list's frames by their place in it and loses the file "
     "names."},
    {"libGDX Atlas", "libgdx-atlas.txt",
     "A libGDX texture atlas: regions named by animation and numbered by frame, so findRegions returns an "
     "animation in order."},
    {"CSS Sprites", "css-sprites.txt", "One CSS class per sprite with its background position, width and height."},
    {"C Header", "c-header.txt",
     "A C array of every sprite's x, y, width and height and their count, for small machines and the 1-bit and "
     "16-colour sheets."},
}};

// Where the program keeps the gallery's texts.
inline constexpr std::string_view kGalleryResourceFolder = ":/gallery/";

} // namespace th::editor
