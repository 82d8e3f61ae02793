// ICO and CUR files: a directory of images, each a PNG or a DIB with an AND mask.
#include <cstdlib>

#include "platform/host/image/byte_reader.h"
#include "platform/host/image/image.h"

namespace brimlox::host {

namespace {

struct IconEntry {
    int width;
    int height;
    int bitCount;
    std::uint32_t size;
    std::uint32_t offset;
};

// The entry a picture shows: the one closest to the standard 32-pixel icon size, then the
// one with the most colours.
std::size_t ChooseEntry(const std::vector<IconEntry>& entries) {
    std::size_t best = 0;
    auto score = [](const IconEntry& e) { return std::abs(e.width - 32) * 100 - e.bitCount; };
    for (std::size_t i = 1; i < entries.size(); ++i)
        if (score(entries[i]) < score(entries[best])) best = i;
    return best;
}

std::optional<DecodedImage> Fail(std::string* error, const std::string& message) {
    if (error) *error = "ICO: " + message;
    return std::nullopt;
}

}  // namespace

std::optional<DecodedImage> DecodeIco(std::span<const std::uint8_t> bytes, std::string* error) {
    ByteReader r(bytes);
    if (!r.Has(0, 6) || r.U16(0) != 0 || (r.U16(2) != 1 && r.U16(2) != 2))
        return Fail(error, "missing the icon directory header");
    std::size_t count = r.U16(4);
    if (count == 0) return Fail(error, "the icon holds no images");
    if (!r.Has(6, count * 16)) return Fail(error, "the icon directory is cut off");
    std::vector<IconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t at = 6 + i * 16;
        IconEntry e{r.U8(at) ? r.U8(at) : 256, r.U8(at + 1) ? r.U8(at + 1) : 256, r.U16(at + 6), r.U32(at + 8),
                    r.U32(at + 12)};
        if (!r.Has(e.offset, e.size) || e.size < 8)
            return Fail(error, "image " + std::to_string(i + 1) + " lies outside the file");
        entries.push_back(e);
    }
    const IconEntry& e = entries[ChooseEntry(entries)];
    auto payload = r.Sub(e.offset, e.size);
    static const std::uint8_t kPng[] = {0x89, 'P', 'N', 'G'};
    bool png = std::equal(std::begin(kPng), std::end(kPng), payload.begin());
    std::string inner;
    auto img = png ? DecodePng(payload, &inner) : DecodeDib(payload, true, &inner);
    if (!img) return Fail(error, "image " + std::to_string(&e - entries.data() + 1) + ": " + inner);
    img->format = ImageFormat::Ico;
    img->isIcon = true;
    return img;
}

}  // namespace brimlox::host
