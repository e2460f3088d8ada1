#pragma once
// Reads sprites' picture files into the image library, for the canvas
// commands of the window and of any tool without one.

#include "canvas/CanvasCommands.h"

#include <sys/types.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

namespace th::image {
class ImageStore;
}

namespace th::canvas {

// One decoded picture per file: a file read again while a sprite or a
// change still holds its picture (the same device, inode, size and
// modification time) shares that picture rather than decoding a copy, so
// thousands of sprites of one file cost one picture's memory. Pictures are
// never drawn on, so sharing one is safe.
class PictureFiles {
public:
    explicit PictureFiles(image::ImageStore& store);

    // The file's picture, as an automatic image of the store; no picture,
    // with the reason, when the file cannot be read or the store's decoders
    // refuse it.
    PictureLoad load(const std::string& path);

private:
    // device, inode, size, modification time in seconds and nanoseconds
    using Identity = std::tuple<dev_t, ino_t, off_t, time_t, long>;
    struct Shared {
        std::weak_ptr<const ImageHandle> hold;
        int width;
        int height;
        bool complete;
    };

    static std::optional<Identity> identityOf(const std::string& path);
    PictureLoad decode(const std::string& path);
    void forgetReleased();

    image::ImageStore& store_;
    std::map<Identity, Shared> shared_;
    std::size_t nextSweep_ = 64;
};

} // namespace th::canvas
