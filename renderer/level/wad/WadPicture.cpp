#include "renderer/level/wad/WadPicture.h"

#include "renderer/level/wad/WadBytes.h"

namespace {

constexpr std::size_t headerBytes = 8;

class PictureDecoder {
  public:
    PictureDecoder(const std::uint8_t* data, std::size_t size, WadPicture& picture,
                   std::string& problem)
        : data_(data), size_(size), picture_(picture), problem_(problem) {}

    bool decode() {
        if (size_ < headerBytes) {
            return fail(std::to_string(size_) + " bytes, a picture header needs 8");
        }
        const std::int32_t width = wadI16(data_);
        const std::int32_t height = wadI16(data_ + 2);
        if (width < 1 || height < 1 || width > maxWadPictureSide || height > maxWadPictureSide ||
            width * height > maxWadPictureTexels) {
            return fail("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                        ", the limits are 1 to " + std::to_string(maxWadPictureSide) +
                        " a side and " + std::to_string(maxWadPictureTexels) + " texels");
        }
        if (size_ < headerBytes + 4 * static_cast<std::size_t>(width)) {
            return fail(std::to_string(size_) + " bytes, too few for the " + std::to_string(width) +
                        " column offsets");
        }
        picture_.width = width;
        picture_.height = height;
        picture_.leftOffset = wadI16(data_ + 4);
        picture_.topOffset = wadI16(data_ + 6);
        const std::size_t texels =
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        picture_.indices.assign(texels, 0);
        picture_.covered.assign(texels, 0);
        for (std::int32_t x = 0; x < width; ++x) {
            if (!decodeColumn(x)) {
                picture_ = WadPicture{};
                return false;
            }
        }
        return true;
    }

  private:
    // Posts go down the column without overlapping, so a column costs at most
    // its height in texels and its height plus one in posts, whatever the bytes.
    bool decodeColumn(std::int32_t x) {
        const std::int32_t start = wadI32(data_ + headerBytes + 4 * static_cast<std::size_t>(x));
        const std::string column = "column " + std::to_string(x);
        if (start < 0 || static_cast<std::size_t>(start) >= size_) {
            return fail(column + " starts at " + std::to_string(start) + ", outside the lump of " +
                        std::to_string(size_) + " bytes");
        }
        std::size_t at = static_cast<std::size_t>(start);
        std::int32_t previousTop = -1;
        std::int32_t reached = 0; // the first row below the posts so far
        for (std::int32_t posts = 0;; ++posts) {
            if (at >= size_) {
                return fail(column + " runs past the end of the lump");
            }
            const std::int32_t delta = data_[at];
            if (delta == 0xFF) {
                return true;
            }
            if (posts > picture_.height) {
                return fail(column + " has more posts than rows");
            }
            if (size_ - at < 4) {
                return fail(column + " runs past the end of the lump");
            }
            const std::int32_t length = data_[at + 1];
            const std::int32_t top = delta <= previousTop ? previousTop + delta : delta;
            if (top < reached) {
                return fail(column + " has a post at row " + std::to_string(top) +
                            " over the one above it");
            }
            if (top + length > picture_.height) {
                return fail(column + " has a post at rows " + std::to_string(top) + " to " +
                            std::to_string(top + length - 1) + ", outside the picture's " +
                            std::to_string(picture_.height) + " rows");
            }
            if (size_ - at < 4 + static_cast<std::size_t>(length)) {
                return fail(column + " runs past the end of the lump");
            }
            // Two bytes of header and one unused byte before the texels, one after.
            const std::uint8_t* texel = data_ + at + 3;
            for (std::int32_t k = 0; k < length; ++k) {
                const std::size_t i =
                    static_cast<std::size_t>(top + k) * static_cast<std::size_t>(picture_.width) +
                    static_cast<std::size_t>(x);
                picture_.indices[i] = texel[k];
                picture_.covered[i] = 1;
            }
            at += 4 + static_cast<std::size_t>(length);
            previousTop = top;
            reached = top + length;
        }
    }

    bool fail(const std::string& what) {
        problem_ = what;
        picture_ = WadPicture{};
        return false;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    WadPicture& picture_;
    std::string& problem_;
};

} // namespace

bool decodeWadPicture(const std::uint8_t* data, std::size_t size, WadPicture& picture,
                      std::string& problem) {
    picture = WadPicture{};
    return PictureDecoder(data, size, picture, problem).decode();
}
