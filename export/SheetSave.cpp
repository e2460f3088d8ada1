#include "export/SheetSave.h"

#include "export/EdgeExtrusion.h"
#include "export/SheetComposer.h"
#include "export/SheetPixels.h"
#include "image/ImageStore.h"
#include "toolkit/Progress.h"

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
                             const SheetRequest& request, toolkit::Progress* progress)
{
    using toolkit::WorkStage;
    const SheetOutcome cancelled{SheetResult::Cancelled, image::SaveProblem::Cancelled};
    const std::optional<int> composed = composeSheet(images, sprites, request.width, request.height, progress, request.turn);
    if (!composed)
        return {SheetResult::NotComposed, {}};
    const SheetImage sheet(images, *composed);
    const int count = int(sprites.size());
    if (!toolkit::report(progress, WorkStage::Composing, count, count))
        return cancelled;
    const int extrusionsMet =
        extrudeEdges(images.handle(sheet.number()), sprites.entries(), request.clipMargin, request.extrude);
    prepareSheetPixels(images.handle(sheet.number()), request.depth, request.background);

    // A palette is learnt inside the save, before its first row is written.
    const int depth = savedDepth(request.depth);
    const bool palette = depth <= 8;
    if (!toolkit::report(progress, palette ? WorkStage::Quantising : WorkStage::Writing, 0, request.height))
        return cancelled;
    // Before its first row the save is still learning the palette.
    const image::RowWatch watch = [&](int rows) {
        return toolkit::report(progress, rows == 0 ? WorkStage::Quantising : WorkStage::Writing, rows,
                               request.height);
    };
    const image::SaveResult written = images.save(sheet.number(), request.file, image::kCodecPng,
                                                  image::SaveFlags::None, depth, progress ? &watch : nullptr);
    if (written.problem == image::SaveProblem::Cancelled)
        return cancelled;
    if (!written.ok())
        return {SheetResult::NotWritten, written};
    return {SheetResult::Written, {}, extrusionsMet};
}

} // namespace th::exporting
