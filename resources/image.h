// Picture decoding for the skin (PNG, libpng) and the busy animation (GIF, giflib). Output is
// always 8-bit straight-alpha RGBA, rows top to bottom, no padding. Corrupt or truncated input
// throws ImageError; it never crashes.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace kelv::res {

class ImageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes: R, G, B, A
};

struct AnimationFrame {
    Image image;      // the whole canvas after this frame, composited
    int delayMs = 0;  // how long the frame stays
};

struct Animation {
    int width = 0;
    int height = 0;
    std::vector<AnimationFrame> frames;
};

// Any colour type and bit depth (palette, grey, 16-bit, tRNS, interlaced) becomes RGBA8.
Image DecodePng(std::span<const std::uint8_t> data);

// Every frame composited onto the logical screen with its disposal (keep, background,
// previous) and transparency; delays from centiseconds to milliseconds.
Animation DecodeGif(std::span<const std::uint8_t> data);

// Resource name of the busy pop-up's animation.
inline constexpr std::string_view kBusyAnimation = "WaitGif";

// Built-in resource by name: ResourceError when missing, ImageError when undecodable.
Image LoadPicture(std::string_view resourceName);
// Width and height from the PNG header alone, without decoding; same errors as LoadPicture for
// a missing resource or one that does not start as a PNG.
struct PictureSize {
    int width = 0;
    int height = 0;
};
PictureSize PngSize(std::span<const std::uint8_t> data);
PictureSize LoadPictureSize(std::string_view resourceName);
Animation LoadAnimation(std::string_view resourceName);

}  // namespace kelv::res
