#include "resources/image.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "resources/bundle.h"

namespace kelv::res {
namespace {

using Pixels = std::vector<std::uint8_t>;

// ---- Encoders for the fixtures ------------------------------------------------------------

struct PngRecipe {
    int width;
    int height;
    int colourType;
    int bitDepth;
    Pixels raw;  // packed rows as PNG stores them (16-bit samples big-endian)
    std::vector<png_color> palette;
    std::vector<png_byte> trnsAlpha;         // palette transparency
    std::optional<png_color_16> trnsColour;  // grey or RGB colour key
    bool interlaced = false;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Pixels*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

// libpng jumps on error; the fixtures are valid, so a jump only marks a broken test.
bool WritePng(const PngRecipe& recipe, Pixels* out, png_bytepp rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendBytes, nullptr);
    png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bitDepth, recipe.colourType,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!recipe.palette.empty()) {
        png_set_PLTE(png, info, recipe.palette.data(), static_cast<int>(recipe.palette.size()));
    }
    if (!recipe.trnsAlpha.empty()) {
        png_set_tRNS(png, info, recipe.trnsAlpha.data(), static_cast<int>(recipe.trnsAlpha.size()),
                     nullptr);
    } else if (recipe.trnsColour) {
        png_set_tRNS(png, info, nullptr, 0, &*recipe.trnsColour);
    }
    png_write_info(png, info);
    if (recipe.interlaced) png_set_interlace_handling(png);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

Pixels EncodePng(const PngRecipe& recipe) {
    const std::size_t rowBytes = recipe.raw.size() / static_cast<std::size_t>(recipe.height);
    std::vector<png_bytep> rows;
    Pixels raw = recipe.raw;
    for (int y = 0; y < recipe.height; ++y) rows.push_back(raw.data() + y * rowBytes);
    Pixels out;
    EXPECT_TRUE(WritePng(recipe, &out, rows.data()));
    return out;
}

struct GifFrame {
    int left, top, width, height;
    Pixels indices;
    int disposal;
    int delayCs;
    int transparent = NO_TRANSPARENT_COLOR;
};

int AppendGif(GifFileType* gif, const GifByteType* data, int n) {
    auto* out = static_cast<Pixels*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

// Palette: 0 black, 1 red, 2 green, 3 blue.
Pixels EncodeGif(int width, int height, std::vector<GifFrame> frames) {
    Pixels out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGif, &error);
    EXPECT_NE(gif, nullptr);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EXPECT_EQ(EGifPutScreenDesc(gif, width, height, 2, 0, map), GIF_OK);
    for (GifFrame& f : frames) {
        GraphicsControlBlock gcb{f.disposal, false, f.delayCs, f.transparent};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
        EXPECT_EQ(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, nullptr), GIF_OK);
        for (int y = 0; y < f.height; ++y) {
            EXPECT_EQ(EGifPutLine(gif, f.indices.data() + y * f.width, f.width), GIF_OK);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

constexpr std::uint8_t R[4] = {255, 0, 0, 255};
constexpr std::uint8_t G[4] = {0, 255, 0, 255};
constexpr std::uint8_t B[4] = {0, 0, 255, 255};
constexpr std::uint8_t T[4] = {0, 0, 0, 0};

Pixels Row(std::initializer_list<const std::uint8_t*> pixels) {
    Pixels out;
    for (const std::uint8_t* p : pixels) out.insert(out.end(), p, p + 4);
    return out;
}

// ---- PNG ----------------------------------------------------------------------------------

struct PngCase {
    const char* what;
    PngRecipe recipe;
    Pixels expected;  // RGBA
};

TEST(DecodePng, ExpandsEveryFormatToRgba8) {
    const PngCase cases[] = {
        {"palette with tRNS",
         {3,
          1,
          PNG_COLOR_TYPE_PALETTE,
          8,
          {0, 1, 2},
          {{255, 0, 0}, {0, 255, 0}, {1, 2, 3}},
          {0x80, 0x00},
          std::nullopt},
         {255, 0, 0, 0x80, 0, 255, 0, 0, 1, 2, 3, 255}},
        {"palette at 2 bits",
         {3,
          1,
          PNG_COLOR_TYPE_PALETTE,
          2,
          {0b00011000},
          {{9, 9, 9}, {255, 0, 0}, {0, 0, 255}},
          {},
          std::nullopt},
         {9, 9, 9, 255, 255, 0, 0, 255, 0, 0, 255, 255}},
        {"grey 8-bit",
         {2, 1, PNG_COLOR_TYPE_GRAY, 8, {0x10, 0xF0}, {}, {}, std::nullopt},
         {0x10, 0x10, 0x10, 255, 0xF0, 0xF0, 0xF0, 255}},
        {"grey 1-bit",
         {3, 1, PNG_COLOR_TYPE_GRAY, 1, {0b10100000}, {}, {}, std::nullopt},
         {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}},
        {"grey with colour key",
         {2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 8}, {}, {}, png_color_16{0, 0, 0, 0, 7}},
         {7, 7, 7, 0, 8, 8, 8, 255}},
        {"grey and alpha",
         {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {50, 60}, {}, {}, std::nullopt},
         {50, 50, 50, 60}},
        {"RGB 16-bit",
         {2,
          1,
          PNG_COLOR_TYPE_RGB,
          16,
          {0xFF, 0xFF, 0x80, 0x80, 0x00, 0x00, 0x01, 0x01, 0x02, 0x02, 0x03, 0x03},
          {},
          {},
          std::nullopt},
         {255, 128, 0, 255, 1, 2, 3, 255}},
        {"RGBA 16-bit",
         {1,
          1,
          PNG_COLOR_TYPE_RGB_ALPHA,
          16,
          {0x10, 0x10, 0x20, 0x20, 0x30, 0x30, 0x40, 0x40},
          {},
          {},
          std::nullopt},
         {0x10, 0x20, 0x30, 0x40}},
        {"RGB with colour key",
         {2, 1, PNG_COLOR_TYPE_RGB, 8, {128, 0, 0, 1, 2, 3}, {}, {}, png_color_16{0, 128, 0, 0, 0}},
         {128, 0, 0, 0, 1, 2, 3, 255}},
        {"RGBA 8-bit",
         {1, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, {1, 2, 3, 4, 5, 6, 7, 8}, {}, {}, std::nullopt},
         {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const PngCase& c : cases) {
        Image image = DecodePng(EncodePng(c.recipe));
        EXPECT_EQ(image.width, c.recipe.width) << c.what;
        EXPECT_EQ(image.height, c.recipe.height) << c.what;
        EXPECT_EQ(image.rgba, c.expected) << c.what;
    }
}

TEST(DecodePng, Interlaced) {
    PngRecipe recipe{3, 3, PNG_COLOR_TYPE_RGB, 8, {}, {}, {}, std::nullopt, true};
    Pixels expected;
    for (std::uint8_t i = 0; i < 9; ++i) {
        recipe.raw.insert(recipe.raw.end(), {i, static_cast<std::uint8_t>(i * 2), 200});
        expected.insert(expected.end(), {i, static_cast<std::uint8_t>(i * 2), 200, 255});
    }
    EXPECT_EQ(DecodePng(EncodePng(recipe)).rgba, expected);
}

TEST(DecodePng, DamagedInputIsAnError) {
    PngRecipe recipe{8, 8, PNG_COLOR_TYPE_RGB, 8, Pixels(8 * 8 * 3, 0x5A), {}, {}, std::nullopt};
    const Pixels good = EncodePng(recipe);
    Pixels badCrc = good;
    badCrc[good.size() - 20] ^= 0xFF;  // inside the image data
    Pixels hugeHeader = good;
    hugeHeader[16] = 0x7F;  // width 2^31-ish
    struct Case {
        const char* what;
        Pixels data;
    };
    const Case cases[] = {
        {"empty", {}},
        {"garbage", Pixels(64, 0xA5)},
        {"signature only", Pixels(good.begin(), good.begin() + 8)},
        {"cut in the header", Pixels(good.begin(), good.begin() + 20)},
        {"cut in the data", Pixels(good.begin(), good.begin() + good.size() / 2)},
        {"last chunk missing", Pixels(good.begin(), good.end() - 12)},
        {"damaged data", badCrc},
        {"absurd size", hugeHeader},
    };
    for (const Case& c : cases) {
        try {
            DecodePng(c.data);
            ADD_FAILURE() << c.what << " decoded";
        } catch (const ImageError& e) {
            EXPECT_NE(std::strlen(e.what()), 0u) << c.what;
        }
    }
    // The header alone answers the size, and refuses what cannot be a picture's header.
    EXPECT_EQ(PngSize(good).width, 8);
    EXPECT_EQ(PngSize(Pixels(good.begin(), good.begin() + 24)).height, 8);
    for (const Pixels& bad :
         {Pixels{}, Pixels(64, 0xA5), Pixels(good.begin(), good.begin() + 20), hugeHeader}) {
        EXPECT_THROW(PngSize(bad), ImageError);
    }
}

// ---- GIF ----------------------------------------------------------------------------------

TEST(DecodeGif, BackgroundDisposalClearsTheFrameArea) {
    // 4 x 1: frame 1 paints red everywhere and is disposed to background; frame 2 paints
    // only pixels 2..3, the first of them in the transparent index.
    Pixels data = EncodeGif(4, 1,
                            {{0, 0, 4, 1, {1, 1, 1, 1}, DISPOSE_BACKGROUND, 5},
                             {2, 0, 2, 1, {0, 3}, DISPOSE_DO_NOT, 10, 0}});
    Animation a = DecodeGif(data);
    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_EQ(a.width, 4);
    EXPECT_EQ(a.height, 1);
    EXPECT_EQ(a.frames[0].delayMs, 50);
    EXPECT_EQ(a.frames[1].delayMs, 100);
    EXPECT_EQ(a.frames[0].image.rgba, Row({R, R, R, R}));
    EXPECT_EQ(a.frames[1].image.rgba, Row({T, T, T, B}));
}

TEST(DecodeGif, KeepAndPreviousDisposal) {
    Pixels data = EncodeGif(3, 1,
                            {{0, 0, 3, 1, {1, 1, 1}, DISPOSE_DO_NOT, 2},
                             {0, 0, 2, 1, {2, 2}, DISPOSE_PREVIOUS, 2},
                             {2, 0, 1, 1, {3}, DISPOSAL_UNSPECIFIED, 2},
                             {0, 0, 3, 1, {0, 2, 0}, DISPOSE_DO_NOT, 0, 0}});
    Animation a = DecodeGif(data);
    ASSERT_EQ(a.frames.size(), 4u);
    EXPECT_EQ(a.frames[0].image.rgba, Row({R, R, R}));
    EXPECT_EQ(a.frames[1].image.rgba, Row({G, G, R}));
    EXPECT_EQ(a.frames[2].image.rgba, Row({R, R, B}));  // frame 2 undone
    EXPECT_EQ(a.frames[3].image.rgba, Row({R, G, B}));  // transparent pixels keep the canvas
    EXPECT_EQ(a.frames[3].delayMs, 0);
}

TEST(DecodeGif, FrameBeyondTheScreenIsClipped) {
    Pixels data = EncodeGif(2, 1, {{1, 0, 3, 1, {1, 2, 3}, DISPOSE_DO_NOT, 1}});
    EXPECT_EQ(DecodeGif(data).frames.at(0).image.rgba, Row({T, R}));
}

TEST(DecodeGif, DamagedInputIsAnError) {
    const Pixels good = EncodeGif(8, 8, {{0, 0, 8, 8, Pixels(64, 1), DISPOSE_DO_NOT, 5}});
    Pixels forged = good;
    // Screen descriptor is 13 bytes and the global table 12; the frame's width follows the
    // graphics control block (8 bytes) and the image separator and position (5 bytes).
    const std::size_t frameWidth = 13 + 12 + 8 + 5;
    ASSERT_EQ(forged[frameWidth - 5], 0x2C);
    forged[frameWidth] = forged[frameWidth + 1] = forged[frameWidth + 2] = forged[frameWidth + 3] =
        0xFF;
    struct Case {
        const char* what;
        Pixels data;
    };
    const Case cases[] = {
        {"empty", {}},
        {"garbage", Pixels(64, 0xA5)},
        {"header only", Pixels(good.begin(), good.begin() + 6)},
        {"no frames", Pixels(good.begin(), good.begin() + 25)},
        {"cut in the raster", Pixels(good.begin(), good.end() - 8)},
        {"forged frame size", forged},
    };
    for (const Case& c : cases) {
        try {
            DecodeGif(c.data);
            ADD_FAILURE() << c.what << " decoded";
        } catch (const ImageError& e) {
            EXPECT_NE(std::strlen(e.what()), 0u) << c.what;
        }
    }
}

TEST(LoadPicture, MissingOrUndecodableResource) {
    try {
        LoadPicture("NoSuchPicture");
        ADD_FAILURE() << "expected ResourceError";
    } catch (const ResourceError& e) {
        EXPECT_STREQ(e.what(), "Resource NoSuchPicture not found");
    }
    // The default data image is built in but is no picture.
    EXPECT_THROW(LoadPicture("KELV731xData"), ImageError);
    EXPECT_THROW(LoadPictureSize("KELV731xData"), ImageError);
    EXPECT_THROW(LoadPictureSize("NoSuchPicture"), ResourceError);
    EXPECT_THROW(LoadAnimation("KELV731xData"), ImageError);
}

// ---- Built-in skin ------------------------------------------------------------------------

TEST(SkinPictures, EveryCataloguePictureDecodesAtItsSize) {
    struct Entry {
        const char* name;
        int width, height;
    };
    const Entry catalogue[] = {
        // The language 2 and 3 sets have the sizes of language 1's, so that a build whose
        // first layout enables those languages shows whole pages. Last, the two dialogs'.
        {"L1_BackGround", 800, 600},
        {"L1_Back1", 472, 379},
        {"L1_Back2", 705, 374},
        {"L1_Back3", 581, 281},
        {"L1_Back4", 600, 346},
        {"L2_BackGround", 800, 600},
        {"L2_Back1", 472, 379},
        {"L2_Back2", 705, 374},
        {"L2_Back3", 581, 281},
        {"L2_Back4", 600, 346},
        {"L3_BackGround", 800, 600},
        {"L3_Back1", 472, 379},
        {"L3_Back2", 705, 374},
        {"L3_Back3", 581, 281},
        {"L3_Back4", 600, 346},
        {"Update", 540, 102},
        {"BtnS_01", 66, 30},
        {"BtnS_02", 66, 30},
        {"BtnS_03", 66, 30},
        {"SetS_01", 127, 36},
        {"SetS_02", 127, 36},
        {"SetS_03", 127, 36},
        {"KeyS_01", 97, 30},
        {"KeyS_02", 97, 30},
        {"KEYS_03", 97, 30},
        {"WebS_01", 264, 21},
        {"WebS_02", 264, 21},
        {"WebS_03", 264, 21},
        {"MacroS_01", 80, 25},
        {"MacroS_02", 80, 25},
        {"MacroS_03", 80, 25},
        {"MacroBtnS_01", 40, 25},
        {"MacroBtnS_02", 40, 25},
        {"MacroBtnS_03", 40, 25},
        {"CbS_D", 18, 19},
        {"CbS_E", 18, 19},
        {"RdS_D", 16, 16},
        {"RdS_E", 16, 16},
        {"Bar1_D", 24, 7},
        {"Bar1_E", 24, 7},
        {"Bar2_D", 19, 11},
        {"Bar2_E", 19, 11},
        {"Col_F", 32, 32},
        {"InsertDelayBase", 207, 162},
        {"InsertKeyBase", 207, 162},
        {"Dlg_AssemblyBase", 354, 179},
        {"Dlg_MacroNameBase", 354, 179},
        {"Dlg_ConfirmHover", 97, 30},
        {"Dlg_CancelHover", 97, 30},
    };
    for (const Entry& e : catalogue) {
        if (!Find(e.name)) {
            ADD_FAILURE() << e.name << " is missing from the skin";
            continue;
        }
        Image image = LoadPicture(e.name);
        EXPECT_EQ(image.width, e.width) << e.name;
        EXPECT_EQ(image.height, e.height) << e.name;
        // The window sizes its pictures from the header before decoding them.
        const PictureSize size = LoadPictureSize(e.name);
        EXPECT_EQ(size.width, e.width) << e.name;
        EXPECT_EQ(size.height, e.height) << e.name;
    }
    // The window backgrounds carry no transparency: the window is shaped by a key colour.
    for (const char* name : {"L1_BackGround", "L2_BackGround", "L3_BackGround"}) {
        Image image = LoadPicture(name);
        bool opaque = true;
        for (std::size_t i = 3; i < image.rgba.size(); i += 4)
            opaque = opaque && image.rgba[i] == 255;
        EXPECT_TRUE(opaque) << name;
    }
}

TEST(SkinPictures, BusyAnimation) {
    Animation a = LoadAnimation(kBusyAnimation);
    EXPECT_EQ(a.width, 200);
    EXPECT_EQ(a.height, 192);
    ASSERT_EQ(a.frames.size(), 12u);
    for (const AnimationFrame& f : a.frames) EXPECT_EQ(f.delayMs, 50);
    // Black is the pop-up's see-through colour, so the corners of every frame are black.
    for (const AnimationFrame& f : a.frames) {
        const std::vector<std::uint8_t>& px = f.image.rgba;
        for (std::size_t at : {std::size_t{0}, px.size() - 4}) {
            EXPECT_EQ(px[at] | px[at + 1] | px[at + 2], 0);
        }
    }
}

}  // namespace
}  // namespace kelv::res
