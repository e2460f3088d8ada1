#include "canvas/PictureFile.h"

#include "files/WholeFile.h"
#include "image/ImageStore.h"

#include <sys/stat.h>

#include <algorithm>

namespace th::canvas {

PictureFiles::PictureFiles(image::ImageStore& store)
    : store_(store)
{
}

// A file that changes while it is read is not shared: what was decoded may
// belong to neither its old identity nor its new one.
PictureLoad PictureFiles::load(const std::string& path)
{
    const std::optional<Identity> before = identityOf(path);
    if (before) {
        if (const auto found = shared_.find(*before); found != shared_.end()) {
            if (PictureHold hold = found->second.hold.lock()) {
                const Shared& shared = found->second;
                return {LoadedPicture{*hold, shared.width, shared.height, std::move(hold)},
                        image::DecodeStatus::Decoded, shared.width, shared.height, shared.complete};
            }
        }
    }
    PictureLoad loaded = decode(path);
    if (loaded.picture && before && identityOf(path) == before) {
        const LoadedPicture& picture = *loaded.picture;
        shared_[*before] = {picture.picture, picture.width, picture.height, loaded.complete};
        if (shared_.size() >= nextSweep_)
            forgetReleased();
    }
    return loaded;
}

PictureLoad PictureFiles::decode(const std::string& path)
{
    const files::WholeFile file = files::readWholeFile(path, files::FileKind::Picture);
    if (!file.result.ok()) {
        PictureLoad unread;
        unread.unread = file.result;
        return unread;
    }
    const image::DecodeOutcome decoded = store_.decode(image::kAutoNumber, file.bytes);
    if (!decoded.ok())
        return {std::nullopt, decoded.status, decoded.declaredWidth, decoded.declaredHeight};
    const int n = decoded.number;
    image::ImageStore& store = store_;
    return {LoadedPicture{n, store.width(n), store.height(n),
                          holdPicture(n, [&store](ImageHandle image) { store.free(image); })},
            image::DecodeStatus::Decoded, decoded.declaredWidth, decoded.declaredHeight, decoded.complete};
}

std::optional<PictureFiles::Identity> PictureFiles::identityOf(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return Identity(status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
}

// Entries whose pictures every sprite has let go of are dropped now and then,
// so the table grows with the pictures held, not with every file ever read.
void PictureFiles::forgetReleased()
{
    std::erase_if(shared_, [](const auto& entry) { return entry.second.hold.expired(); });
    nextSweep_ = std::max<std::size_t>(64, 2 * shared_.size());
}

} // namespace th::canvas
