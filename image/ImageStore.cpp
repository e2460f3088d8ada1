#include "image/ImageStore.h"

#include "image/ImageWriter.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace th::image {
namespace {

constexpr std::size_t kInitialSlots = 16;
constexpr std::size_t kSlotGrowth = 16;

// Expands rows of 3-byte pixels (with the given stride) into opaque RGBA.
void expandRgb(const std::vector<std::uint8_t>& rgb, std::size_t rgbStride, Image& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* in = rgb.data() + static_cast<std::size_t>(y) * rgbStride;
        std::uint8_t* out = image.pixels() + static_cast<std::size_t>(y) * image.stride();
        for (int x = 0; x < image.width(); ++x, in += 3, out += 4) {
            std::memcpy(out, in, 3);
            out[3] = 255;
        }
    }
}

void decodeInto(DecodeSession& session, Image& image)
{
    // A decoder that stops early has still delivered the rows before the
    // break; the image keeps them either way, so its result is not needed.
    if (session.header().outputDepth == 32) {
        static_cast<void>(session.readRows(image.pixels(), image.stride()));
        return;
    }
    const std::size_t rgbStride = (static_cast<std::size_t>(image.width()) * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> rgb;
    try {
        rgb.resize(rgbStride * static_cast<std::size_t>(image.height()));
    } catch (const std::bad_alloc&) {
        return;
    }
    static_cast<void>(session.readRows(rgb.data(), rgbStride));
    expandRgb(rgb, rgbStride, image);
}

// Sides are checked first, so the product cannot overflow.
bool withinLimits(const DecodedHeader& header, const DecodeLimits& limits)
{
    return header.width >= 1 && header.height >= 1 && header.width <= kMaxSide && header.height <= kMaxSide
        && static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height) <= limits.maxPixels;
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
    if (number >= 0) {
        const auto slot = static_cast<std::size_t>(number);
        return slot < slots_.size() ? slots_[slot].get() : nullptr;
    }
    const auto it = automatic_.find(number);
    return it == automatic_.end() ? nullptr : it->second.get();
}

std::optional<int> ImageStore::store(int number, std::unique_ptr<Image> image)
{
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

std::optional<int> ImageStore::decode(int number, std::span<const std::uint8_t> data,
                                      const DecodeLimits& limits)
{
    if (number != kAutoNumber && (number < 0 || number > kMaxStaticNumber))
        return std::nullopt;
    for (const auto& decoder : decoders_) {
        auto session = decoder->probe(data);
        if (!session)
            continue;
        const DecodedHeader& header = session->header();
        if (!withinLimits(header, limits))
            return std::nullopt;
        auto image = Image::allocate(header.width, header.height);
        if (!image)
            return std::nullopt;
        image->sourceDepth = header.sourceDepth;
        image->sourceTag = decoder->tag();
        decodeInto(*session, *image);
        return store(number, std::move(image));
    }
    return std::nullopt;
}

void ImageStore::free(int number)
{
    if (number == kAutoNumber) {
        freeAll();
    } else if (number >= 0) {
        if (static_cast<std::size_t>(number) < slots_.size())
            slots_[static_cast<std::size_t>(number)].reset();
    } else {
        automatic_.erase(number);
    }
}

void ImageStore::freeAll()
{
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

files::FileResult ImageStore::save(int number, const std::filesystem::path& file, std::uint32_t tag,
                                   SaveFlags flags, int depth, const RowWatch* watch) const
{
    const Image* image = find(number);
    const Encoder* encoder = tag == kCodecBmp ? &bmp_ : nullptr;
    for (const auto& e : encoders_)
        if (!encoder && e->tag() == tag)
            encoder = e.get();
    if (!image || file.empty() || !encoder)
        return files::failure(files::FileError::InvalidRequest);
    if (depth == kDepthSource)
        depth = image->sourceDepth;
    PixelRows rows = image->rows();
    rows.watch = watch;
    return writeWith(*encoder, file, rows, flags, depth);
}

} // namespace th::image
