#pragma once
// A JPEG file decoded (by libjpeg-turbo) into plain RGBA pixels for drawing in the terminal.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tindel {

struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes, rows from the top
};

// Pictures beyond this many pixels are refused rather than allocated.
constexpr long kMaxPicturePixels = 64L * 1024 * 1024;

// The decoded picture, or nothing with the reason in `error`.
std::optional<RgbaPicture> decode_jpeg(const std::vector<std::uint8_t>& bytes, std::string& error);
std::optional<RgbaPicture> decode_jpeg_file(const std::string& file, std::string& error);

}  // namespace tindel
