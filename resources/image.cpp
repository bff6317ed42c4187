#include "resources/image.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>

#include "resources/bundle.h"

namespace kelv::res {
namespace {

// Pictures beyond this are refused rather than allocated: the skin is a few hundred pixels.
constexpr std::uint32_t kMaxSide = 8192;
constexpr std::uint64_t kMaxPixels = 4u * 1024u * 1024u;
constexpr std::uint64_t kMaxAnimationBytes = 128u * 1024u * 1024u;

// ---- PNG ----------------------------------------------------------------------------------
// libpng reports errors by longjmp. Only the two small functions below call setjmp, and
// nothing with a destructor lives in them or in the callbacks libpng runs, so a jump skips
// no C++ cleanup. Everything owning memory lives in DecodePng, above the jump.

struct PngSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
    char message[192];
};

void PngRead(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > src->size - src->pos) png_error(png, "truncated data");
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

void PngFail(png_structp png, png_const_charp message) {
    auto* src = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(src->message, sizeof src->message, "%s", message ? message : "error");
    png_longjmp(png, 1);
}

void PngWarn(png_structp, png_const_charp) {}

// Reads the header and sets up expansion to 8-bit RGBA. False on error.
bool PngReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height,
                   png_size_t* rowBytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    png_uint_32 w = 0, h = 0;
    int depth = 0, colour = 0, interlace = 0;
    png_get_IHDR(png, info, &w, &h, &depth, &colour, &interlace, nullptr, nullptr);
    png_set_expand(png);  // palette -> RGB, grey below 8 bits -> 8, tRNS -> alpha
    if (depth == 16) png_set_scale_16(png);
    if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if (!(colour & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    *width = w;
    *height = h;
    *rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool PngReadRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

class PngReadStruct {
  public:
    explicit PngReadStruct(PngSource* src) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, src, PngFail, PngWarn);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
    }
    ~PngReadStruct() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    PngReadStruct(const PngReadStruct&) = delete;
    PngReadStruct& operator=(const PngReadStruct&) = delete;
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// ---- GIF ----------------------------------------------------------------------------------

struct GifSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

int GifRead(GifFileType* gif, GifByteType* out, int count) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    if (count <= 0) return 0;
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), src->size - src->pos);
    std::memcpy(out, src->data + src->pos, n);
    src->pos += n;
    return static_cast<int>(n);
}

// Walks the block structure before DGifSlurp so that a forged frame size cannot make it
// allocate gigabytes. Returns an error text, or "" when the sizes are acceptable.
std::string GifCheckSizes(std::span<const std::uint8_t> d) {
    std::size_t p = 13;
    if (d.size() < p) return "truncated data";
    auto table = [](std::uint8_t flags) -> std::size_t {
        return (flags & 0x80) ? 3u * (2u << (flags & 7)) : 0u;
    };
    p += table(d[10]);
    auto skipSubBlocks = [&]() {
        while (p < d.size() && d[p] != 0) p += 1u + d[p];
        ++p;
    };
    std::uint64_t total = 0;
    while (p < d.size()) {
        std::uint8_t tag = d[p++];
        if (tag == 0x3B) break;
        if (tag == 0x21) {
            ++p;
            skipSubBlocks();
        } else if (tag == 0x2C) {
            if (p + 9 > d.size()) break;  // giflib reports the truncation itself
            std::uint64_t w = d[p + 4] | (d[p + 5] << 8);
            std::uint64_t h = d[p + 6] | (d[p + 7] << 8);
            if (w * h > kMaxPixels) return "frame too large";
            total += w * h;
            if (total * 4 > kMaxAnimationBytes) return "animation too large";
            p += 9 + table(d[p + 8]);
            ++p;  // LZW code size
            skipSubBlocks();
        } else {
            break;  // giflib decides what a stray byte means
        }
    }
    return {};
}

class GifFile {
  public:
    GifFile(GifSource* src, int* error) : gif_(DGifOpen(src, GifRead, error)) {}
    ~GifFile() {
        int ignored = 0;
        if (gif_ != nullptr) DGifCloseFile(gif_, &ignored);
    }
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;
    GifFileType* get() const { return gif_; }

  private:
    GifFileType* gif_;
};

std::string GifErrorText(int code) {
    const char* text = GifErrorString(code);
    return text ? text : "unknown error";
}

}  // namespace

Image DecodePng(std::span<const std::uint8_t> data) {
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) {
        throw ImageError("not a PNG picture");
    }
    PngSource src{data.data(), data.size(), 0, {}};
    PngReadStruct reader(&src);
    if (reader.png() == nullptr || reader.info() == nullptr) {
        throw ImageError("PNG decoder could not start");
    }
    png_set_read_fn(reader.png(), &src, PngRead);
    png_set_user_limits(reader.png(), kMaxSide, kMaxSide);
    png_uint_32 width = 0, height = 0;
    png_size_t rowBytes = 0;
    if (!PngReadHeader(reader.png(), reader.info(), &width, &height, &rowBytes)) {
        throw ImageError(std::string("PNG picture is damaged: ") + src.message);
    }
    if (static_cast<std::uint64_t>(width) * height > kMaxPixels) {
        throw ImageError("PNG picture too large");
    }
    if (rowBytes != static_cast<png_size_t>(width) * 4) {
        throw ImageError("PNG picture has an unexpected pixel format");
    }
    Image image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.rgba.resize(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.rgba.data() + y * rowBytes;
    if (!PngReadRows(reader.png(), reader.info(), rows.data())) {
        throw ImageError(std::string("PNG picture is damaged: ") + src.message);
    }
    return image;
}

Animation DecodeGif(std::span<const std::uint8_t> data) {
    if (data.size() < 6 || std::memcmp(data.data(), "GIF", 3) != 0) {
        throw ImageError("not a GIF picture");
    }
    if (std::string size = GifCheckSizes(data); !size.empty()) {
        throw ImageError("GIF picture is damaged: " + size);
    }
    GifSource src{data.data(), data.size(), 0};
    int error = 0;
    GifFile file(&src, &error);
    GifFileType* gif = file.get();
    if (gif == nullptr) throw ImageError("GIF picture is damaged: " + GifErrorText(error));
    if (DGifSlurp(gif) != GIF_OK) {
        throw ImageError("GIF picture is damaged: " + GifErrorText(gif->Error));
    }
    if (gif->ImageCount <= 0) throw ImageError("GIF picture has no frames");
    const std::uint64_t width = static_cast<std::uint64_t>(gif->SWidth);
    const std::uint64_t height = static_cast<std::uint64_t>(gif->SHeight);
    if (width == 0 || height == 0 || width * height > kMaxPixels) {
        throw ImageError("GIF picture has an unusable screen size");
    }
    const std::uint64_t frameBytes = width * height * 4;
    if (frameBytes * static_cast<std::uint64_t>(gif->ImageCount) > kMaxAnimationBytes) {
        throw ImageError("GIF animation too large");
    }

    Animation anim;
    anim.width = static_cast<int>(width);
    anim.height = static_cast<int>(height);
    // The canvas starts transparent, and "restore to background" clears to transparent too,
    // as browsers do; the background colour index is ignored.
    std::vector<std::uint8_t> canvas(frameBytes, 0);
    std::vector<std::uint8_t> saved;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& frame = gif->SavedImages[i];
        GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(gif, i, &gcb);
        const ColorMapObject* map =
            frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
        if (map == nullptr || map->Colors == nullptr) {
            throw ImageError("GIF frame " + std::to_string(i + 1) + " has no colour table");
        }
        const long left = frame.ImageDesc.Left, top = frame.ImageDesc.Top;
        const long fw = frame.ImageDesc.Width, fh = frame.ImageDesc.Height;
        const long x0 = std::max(0L, left), y0 = std::max(0L, top);
        const long x1 = std::min(static_cast<long>(width), left + fw);
        const long y1 = std::min(static_cast<long>(height), top + fh);

        if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
        if (frame.RasterBits != nullptr) {
            for (long y = y0; y < y1; ++y) {
                for (long x = x0; x < x1; ++x) {
                    int index = frame.RasterBits[(y - top) * fw + (x - left)];
                    if (index == gcb.TransparentColor || index >= map->ColorCount) continue;
                    const GifColorType& c = map->Colors[index];
                    std::uint8_t* px = &canvas[(static_cast<std::size_t>(y) * width + x) * 4];
                    px[0] = c.Red;
                    px[1] = c.Green;
                    px[2] = c.Blue;
                    px[3] = 0xFF;
                }
            }
        }
        AnimationFrame out;
        out.image.width = anim.width;
        out.image.height = anim.height;
        out.image.rgba = canvas;
        out.delayMs = gcb.DelayTime * 10;
        anim.frames.push_back(std::move(out));

        if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
            for (long y = y0; y < y1; ++y) {
                std::memset(&canvas[(static_cast<std::size_t>(y) * width + x0) * 4], 0,
                            static_cast<std::size_t>(std::max(0L, x1 - x0)) * 4);
            }
        } else if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
            canvas = saved;
        }
    }
    return anim;
}

Image LoadPicture(std::string_view resourceName) {
    try {
        return DecodePng(Get(resourceName));
    } catch (const ImageError& e) {
        throw ImageError(std::string(resourceName) + ": " + e.what());
    }
}

PictureSize PngSize(std::span<const std::uint8_t> data) {
    // Signature, then the IHDR chunk: length 13, type, width and height big-endian.
    static constexpr std::uint8_t kIhdr[] = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (data.size() < 24 || png_sig_cmp(data.data(), 0, 8) != 0 ||
        !std::equal(std::begin(kIhdr), std::end(kIhdr), data.begin() + 8)) {
        throw ImageError("not a PNG picture");
    }
    auto be32 = [&data](std::size_t at) {
        return (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
               (std::uint32_t{data[at + 2]} << 8) | std::uint32_t{data[at + 3]};
    };
    const std::uint32_t w = be32(16), h = be32(20);
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) {
        throw ImageError("PNG picture of an unusable size");
    }
    return {static_cast<int>(w), static_cast<int>(h)};
}

PictureSize LoadPictureSize(std::string_view resourceName) {
    try {
        return PngSize(Get(resourceName));
    } catch (const ImageError& e) {
        throw ImageError(std::string(resourceName) + ": " + e.what());
    }
}

Animation LoadAnimation(std::string_view resourceName) {
    try {
        return DecodeGif(Get(resourceName));
    } catch (const ImageError& e) {
        throw ImageError(std::string(resourceName) + ": " + e.what());
    }
}

}  // namespace kelv::res
