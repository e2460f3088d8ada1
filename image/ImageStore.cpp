#include "image/ImageStore.h"

#include "image/ImageWriter.h"

#include <algorithm>
#include <climits>

namespace th::image {
namespace {

constexpr std::size_t kInitialSlots = 16;
constexpr std::size_t kSlotGrowth = 16;

// Widens the RGB row at the start of an RGBA row in place, last pixel first
// so that no pixel is overwritten before it is read.
void widenRow(std::uint8_t* row, int width)
{
    for (int x = width; x-- > 0;) {
        const std::uint8_t* in = row + static_cast<std::size_t>(x) * 3;
        const std::uint8_t r = in[0], g = in[1], b = in[2];
        std::uint8_t* out = row + static_cast<std::size_t>(x) * 4;
        out[0] = r;
        out[1] = g;
        out[2] = b;
        out[3] = 255;
    }
}

// RGB rows are read into the image's own rows and widened there, so a
// decode needs no memory beyond the image. Rows the data did not deliver
// stay zero, and opaque for RGB data. True when every row was delivered.
bool decodeInto(DecodeSession& session, Image& image)
{
    const DeliveredRows delivered = session.readRows(image.pixels(), image.stride());
    const bool complete = delivered.intact && delivered.top == 0 && delivered.bottom == image.height();
    if (session.header().outputDepth == 32)
        return complete;
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t* row = image.pixels() + static_cast<std::size_t>(y) * image.stride();
        if (y >= delivered.top && y < delivered.bottom) {
            widenRow(row, image.width());
        } else {
            for (int x = 0; x < image.width(); ++x)
                row[static_cast<std::size_t>(x) * 4 + 3] = 255;
        }
    }
    return complete;
}

} // namespace

ImageStore::ImageStore() : slots_(kInitialSlots) {}
ImageStore::~ImageStore() = default;

void ImageStore::registerDecoder(std::unique_ptr<Decoder> decoder)
{
    const auto tag = decoder->tag();
    if (std::none_of(decoders_.begin(), decoders_.end(), [&](const auto& d) { return d->tag() == tag; }))
        decoders_.push_back(std::move(decoder));
}

void ImageStore::registerEncoder(std::unique_ptr<Encoder> encoder)
{
    const auto tag = encoder->tag();
    if (std::none_of(encoders_.begin(), encoders_.end(), [&](const auto& e) { return e->tag() == tag; }))
        encoders_.push_back(std::move(encoder));
}

Image* ImageStore::find(int number) const
{
    const std::lock_guard lock(slotsGuard_);
    if (number >= 0) {
        const auto slot = static_cast<std::size_t>(number);
        return slot < slots_.size() ? slots_[slot].get() : nullptr;
    }
    const auto it = automatic_.find(number);
    return it == automatic_.end() ? nullptr : it->second.get();
}

std::optional<int> ImageStore::store(int number, std::unique_ptr<Image> image)
{
    const std::lock_guard lock(slotsGuard_);
    if (number == kAutoNumber) {
        if (nextHandle_ == INT_MIN)
            return std::nullopt;
        const int handle = nextHandle_--;
        automatic_[handle] = std::move(image);
        return handle;
    }
    const auto slot = static_cast<std::size_t>(number);
    if (slot >= slots_.size())
        slots_.resize(slot + kSlotGrowth);
    slots_[slot] = std::move(image); // frees the image that was there
    return number;
}

std::optional<int> ImageStore::create(int number, int width, int height, int depth, Fill fill)
{
    if (number != kAutoNumber && (number < 0 || number > kMaxStaticNumber))
        return std::nullopt;
    auto image = Image::allocate(width, height);
    if (!image)
        return std::nullopt;
    if (fill == Fill::OpaqueBlack)
        for (std::size_t i = 3; i < image->byteCount(); i += 4)
            image->pixels()[i] = 255;
    image->sourceDepth = depth;
    return store(number, std::move(image));
}

DecodeOutcome ImageStore::decode(int number, std::span<const std::uint8_t> data, const DecodeLimits& limits)
{
    if (number != kAutoNumber && (number < 0 || number > kMaxStaticNumber))
        return {DecodeStatus::BadNumber};
    for (const auto& decoder : decoders_) {
        Probe probe = decoder->probe(data, limits);
        if (probe.status == DecodeStatus::NotAPicture)
            continue;
        DecodeOutcome outcome{probe.status, 0, probe.declaredWidth, probe.declaredHeight};
        if (!probe.session)
            return outcome;
        const DecodedHeader& header = probe.session->header();
        auto image = Image::allocate(header.width, header.height);
        if (!image)
            return {DecodeStatus::OutOfMemory, 0, header.width, header.height};
        image->sourceDepth = header.sourceDepth;
        image->sourceTag = decoder->tag();
        outcome.complete = decodeInto(*probe.session, *image);
        const std::optional<int> stored = store(number, std::move(image));
        if (!stored)
            return {DecodeStatus::BadNumber, 0, header.width, header.height};
        outcome.number = *stored;
        return outcome;
    }
    return {DecodeStatus::NotAPicture};
}

void ImageStore::free(int number)
{
    if (number == kAutoNumber) {
        freeAll();
        return;
    }
    const std::lock_guard lock(slotsGuard_);
    if (number >= 0) {
        if (static_cast<std::size_t>(number) < slots_.size())
            slots_[static_cast<std::size_t>(number)].reset();
    } else {
        automatic_.erase(number);
    }
}

void ImageStore::freeAll()
{
    const std::lock_guard lock(slotsGuard_);
    for (auto& slot : slots_)
        slot.reset();
    automatic_.clear();
}

int ImageStore::width(int number) const
{
    const Image* image = find(number);
    return image ? image->width() : 0;
}

int ImageStore::height(int number) const
{
    const Image* image = find(number);
    return image ? image->height() : 0;
}

int ImageStore::depth(int number, int selector) const
{
    const Image* image = find(number);
    if (!image)
        return 0;
    return selector == kDepthSource ? image->sourceDepth : 32;
}

PixelView ImageStore::handle(int number) const
{
    const Image* image = find(number);
    return image ? image->view() : PixelView{};
}

std::optional<DrawTarget> ImageStore::target(int number, const TextPainter* painter) const
{
    const Image* image = find(number);
    if (!image)
        return std::nullopt;
    return DrawTarget(image->view(), painter);
}

SaveResult ImageStore::save(int number, const std::filesystem::path& file, std::uint32_t tag,
                                   SaveFlags flags, int depth, const RowWatch* watch) const
{
    const Image* image = find(number);
    const Encoder* encoder = tag == kCodecBmp ? &bmp_ : nullptr;
    for (const auto& e : encoders_)
        if (!encoder && e->tag() == tag)
            encoder = e.get();
    if (!image || file.empty() || !encoder)
        return SaveProblem::InvalidRequest;
    if (depth == kDepthSource)
        depth = image->sourceDepth;
    PixelRows rows = image->rows();
    rows.watch = watch;
    return writeWith(*encoder, file, rows, flags, depth);
}

} // namespace th::image
