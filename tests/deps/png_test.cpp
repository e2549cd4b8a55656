// libpng + zlib (static): PNGs with transparency decode to the expected RGBA
// pixels; damaged data is rejected with an error instead of garbage.
#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Image {
    uint32_t width = 0, height = 0;
    Bytes rgba; // 4 bytes per pixel, rows top to bottom
};

struct ErrorState {
    std::string message;
};

void OnError(png_structp png, png_const_charp message)
{
    static_cast<ErrorState*>(png_get_error_ptr(png))->message = message;
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

void WriteToBytes(png_structp png, png_bytep data, size_t size)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}
void NoFlush(png_structp) {}

struct Source {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadFromBytes(png_structp png, png_bytep out, size_t size)
{
    auto* src = static_cast<Source*>(png_get_io_ptr(png));
    if (src->size - src->pos < size) png_error(png, "unexpected end of data");
    std::memcpy(out, src->data + src->pos, size);
    src->pos += size;
}

// Encodes rows of already packed pixels with the given header fields.
Bytes Encode(uint32_t width, uint32_t height, int bit_depth, int color_type, const Bytes& packed,
             const std::vector<png_color>& palette = {}, const Bytes& palette_alpha = {})
{
    auto out = std::make_unique<Bytes>();
    ErrorState error;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    png_infop info = png_create_info_struct(png);
    const size_t row_bytes = packed.size() / height;
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y) rows[y] = const_cast<png_bytep>(&packed[y * row_bytes]);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "encoding failed: " << error.message;
        return {};
    }
    png_set_write_fn(png, out.get(), WriteToBytes, NoFlush);
    png_set_IHDR(png, info, width, height, bit_depth, color_type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!palette_alpha.empty())
        png_set_tRNS(png, info, palette_alpha.data(), static_cast<int>(palette_alpha.size()), nullptr);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return *out;
}

struct Decoded {
    bool ok = false;
    std::string error;
    Image image;
    std::vector<png_bytep> rows;
};

// Decodes any PNG to 8-bit RGBA the classic way (png_set_expand and friends).
Decoded Decode(const Bytes& bytes)
{
    auto result = std::make_unique<Decoded>();
    ErrorState error;
    Source source{bytes.data(), bytes.size(), 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        result->error = error.message.empty() ? "unknown error" : error.message;
        return std::move(*result);
    }
    png_set_read_fn(png, &source, ReadFromBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    const int type = png_get_color_type(png, info);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    Image& image = result->image;
    image.width = png_get_image_width(png, info);
    image.height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != image.width * 4u) png_error(png, "not RGBA after expansion");
    image.rgba.resize(size_t{image.width} * image.height * 4);
    result->rows.resize(image.height);
    for (uint32_t y = 0; y < image.height; ++y) result->rows[y] = &image.rgba[size_t{y} * image.width * 4];
    png_read_image(png, result->rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    result->ok = true;
    return std::move(*result);
}

Image Gradient()
{
    Image image;
    image.width = 16;
    image.height = 8;
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint8_t alpha = x == 15 ? 255 : static_cast<uint8_t>(x * y * 2);
            image.rgba.insert(image.rgba.end(), {static_cast<uint8_t>(x * 16), static_cast<uint8_t>(y * 32),
                                                 static_cast<uint8_t>((x + y) * 8), alpha});
        }
    }
    return image;
}

TEST(Png, HeadersMatchTheLibraries)
{
    EXPECT_EQ(png_access_version_number(), static_cast<png_uint_32>(PNG_LIBPNG_VER));
    EXPECT_STREQ(zlibVersion(), ZLIB_VERSION);
}

TEST(Png, RgbaImageRoundTrips)
{
    const Image image = Gradient();
    const Bytes file = Encode(image.width, image.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, image.rgba);
    ASSERT_FALSE(file.empty());
    const Decoded decoded = Decode(file);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.image.width, image.width);
    EXPECT_EQ(decoded.image.height, image.height);
    EXPECT_EQ(decoded.image.rgba, image.rgba);
}

TEST(Png, PaletteWithTransparencyExpandsToRgba)
{
    // 6x3 pixels, 4 bits per palette index (two pixels per byte).
    const std::vector<png_color> palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};
    const Bytes alpha = {0, 128, 255, 64};
    Bytes packed;
    Image expected;
    expected.width = 6;
    expected.height = 3;
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 6; x += 2) {
            const uint8_t a = (x + y) % 4, b = (x + 1 + y) % 4;
            packed.push_back(static_cast<uint8_t>(a << 4 | b));
            for (uint8_t i : {a, b}) {
                expected.rgba.insert(expected.rgba.end(),
                                     {palette[i].red, palette[i].green, palette[i].blue, alpha[i]});
            }
        }
    }
    const Bytes file = Encode(6, 3, 4, PNG_COLOR_TYPE_PALETTE, packed, palette, alpha);
    ASSERT_FALSE(file.empty());
    const Decoded decoded = Decode(file);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.image.rgba, expected.rgba);
}

size_t ChunkOffset(const Bytes& file, const char* type)
{
    for (size_t at = 8; at + 8 <= file.size();) {
        const size_t length = size_t{file[at]} << 24 | size_t{file[at + 1]} << 16 |
                              size_t{file[at + 2]} << 8 | file[at + 3];
        if (std::memcmp(&file[at + 4], type, 4) == 0) return at;
        at += 12 + length;
    }
    return file.size();
}

TEST(Png, DamagedFilesAreRejected)
{
    const Image image = Gradient();
    const Bytes good = Encode(image.width, image.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, image.rgba);
    const size_t idat = ChunkOffset(good, "IDAT");
    ASSERT_LT(idat, good.size());
    const struct {
        const char* name;
        void (*damage)(Bytes&, size_t idat);
        const char* message_part;
    } cases[] = {
        {"signature", [](Bytes& f, size_t) { f[1] = 'X'; }, "PNG"},
        {"header checksum", [](Bytes& f, size_t) { f[29] ^= 0x01; }, "CRC"},
        {"image data", [](Bytes& f, size_t at) { f[at + 10] ^= 0x55; }, "IDAT"},
        {"truncated", [](Bytes& f, size_t at) { f.resize(at + 12); }, ""},
        {"empty", [](Bytes& f, size_t) { f.clear(); }, ""},
    };
    for (const auto& c : cases) {
        Bytes file = good;
        c.damage(file, idat);
        const Decoded decoded = Decode(file);
        EXPECT_FALSE(decoded.ok) << c.name;
        EXPECT_FALSE(decoded.error.empty()) << c.name;
        EXPECT_NE(decoded.error.find(c.message_part), std::string::npos) << c.name << ": " << decoded.error;
    }
}

} // namespace
