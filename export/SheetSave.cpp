#include "export/SheetSave.h"

#include "export/SheetComposer.h"
#include "export/SheetPixels.h"
#include "image/ImageStore.h"

namespace th::exporting {

namespace {

class SheetImage {
public:
    SheetImage(image::ImageStore& images, int number) : images_(images), number_(number) {}
    ~SheetImage() { images_.free(number_); }
    SheetImage(const SheetImage&) = delete;
    SheetImage& operator=(const SheetImage&) = delete;

    int number() const { return number_; }

private:
    image::ImageStore& images_;
    int number_;
};

} // namespace

SheetOutcome saveSpriteSheet(image::ImageStore& images, const canvas::SpriteList& sprites,
                             const SheetRequest& request)
{
    const std::optional<int> composed = composeSheet(images, sprites, request.width, request.height);
    if (!composed)
        return {SheetResult::NotComposed, {}};
    const SheetImage sheet(images, *composed);
    prepareSheetPixels(images.handle(sheet.number()), request.depth, request.background);
    const files::FileResult written = images.save(sheet.number(), request.file, image::kCodecPng,
                                                  image::SaveFlags::None, savedDepth(request.depth));
    if (!written.ok())
        return {SheetResult::NotWritten, written};
    return {};
}

} // namespace th::exporting
