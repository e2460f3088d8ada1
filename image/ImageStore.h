#pragma once
// The image library: every picture the program uses as a numbered 8-bit RGBA
// image (rows top first, stride width * 4, straight alpha), decoded through
// the registered decoders, drawn on through DrawTarget and saved through the
// registered encoders (BMP writing is always there). Plain C++ over libspng,
// libpng and zlib; the application owns one store and passes it by reference.
//
// Numbers: static numbers 0, 1, 2, ... index a slot table (16 slots at first,
// growing to number + 16 when a number beyond it is used); kAutoNumber asks
// for an automatic record instead, whose handle (a negative number below -1)
// names it from then on.

#include "image/BmpEncoder.h"
#include "image/Codec.h"
#include "image/DrawTarget.h"
#include "image/Image.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace th::image {

inline constexpr int kAutoNumber = -1;
// For depth() and save(): the depth of the data the image came from.
inline constexpr int kDepthSource = -2;
inline constexpr int kMaxStaticNumber = 65535;

// What create() fills a new image with; a type of its own, so that it cannot
// be mixed with the save flags.
enum class Fill { OpaqueBlack, TransparentBlack };

class ImageStore {
public:
    ImageStore();
    ~ImageStore();
    ImageStore(const ImageStore&) = delete;
    ImageStore& operator=(const ImageStore&) = delete;

    // Decoders are probed in registration order; a second decoder or encoder
    // with the tag of one already registered is ignored.
    void registerDecoder(std::unique_ptr<Decoder> decoder);
    void registerEncoder(std::unique_ptr<Encoder> encoder);

    // A new image of the given fill whose source depth is `depth`. Returns the
    // number that names it (the handle for kAutoNumber), or nothing when a
    // side is outside 1 ... 32767 or memory runs out; the store is then
    // unchanged. An image already under the number is freed first.
    [[nodiscard]] std::optional<int> create(int number, int width, int height, int depth,
                                            Fill fill = Fill::OpaqueBlack);
    // Decodes `data` (never reading past its end) with the first decoder that
    // knows it. A header that declares more pixels than the limits allow is
    // refused (TooLarge, with the declared size) before anything is
    // allocated. An image whose data breaks off is still decoded, with the
    // rows delivered before the break and zero pixels (opaque black for RGB
    // data) elsewhere; the decoding stops at the break.
    DecodeOutcome decode(int number, std::span<const std::uint8_t> data, const DecodeLimits& limits = {});

    // Frees the image the number names; kAutoNumber frees every image.
    void free(int number);
    void freeAll();

    // 0 when the number names no image.
    int width(int number) const;
    int height(int number) const;
    // The source depth for kDepthSource, 32 for any other selector.
    int depth(int number, int selector) const;
    // The image's pixels, or an empty view.
    PixelView handle(int number) const;
    // A target over the image's pixels; nothing when the number names no image.
    std::optional<DrawTarget> target(int number, const TextPainter* painter = nullptr) const;

    // Writes the image with the encoder for `tag` (kCodecPng, kCodecBmp) at
    // `depth` or, for kDepthSource, the image's source depth. On failure no
    // file is left behind and the result says why (InvalidRequest when the
    // number, the path or the encoder is missing). `watch`, when given, hears
    // of every row the PNG encoder writes and can abandon the write.
    [[nodiscard]] SaveResult save(int number, const std::filesystem::path& file, std::uint32_t tag,
                                         SaveFlags flags, int depth, const RowWatch* watch = nullptr) const;

    std::size_t slotCount() const { return slots_.size(); }

private:
    Image* find(int number) const;
    std::optional<int> store(int number, std::unique_ptr<Image> image);

    // An export composes and frees its sheet on a worker thread while the
    // canvas is drawn from the same store; the slots are looked up and
    // changed under this lock, the pixels themselves are not.
    mutable std::mutex slotsGuard_;
    std::vector<std::unique_ptr<Image>> slots_;
    std::map<int, std::unique_ptr<Image>> automatic_;
    int nextHandle_ = kAutoNumber - 1;
    std::vector<std::unique_ptr<Decoder>> decoders_;
    std::vector<std::unique_ptr<Encoder>> encoders_;
    BmpEncoder bmp_;
};

} // namespace th::image
