#include "UTypes/console/terminal/picture/jpeg_picture.h"

#include <turbojpeg.h>

#include <fstream>
#include <iterator>

namespace tindel {

namespace {

// One decompressor for one call; freed however the call ends.
class Decompressor {
 public:
  Decompressor() : handle_(tjInitDecompress()) {}
  ~Decompressor() {
    if (handle_ != nullptr) tjDestroy(handle_);
  }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  tjhandle get() const { return handle_; }

 private:
  tjhandle handle_;
};

}  // namespace

std::optional<RgbaPicture> decode_jpeg(const std::vector<std::uint8_t>& bytes, std::string& error) {
  Decompressor decompressor;
  if (decompressor.get() == nullptr) {
    error = tjGetErrorStr();
    return std::nullopt;
  }
  int width = 0, height = 0, subsampling = 0, colourspace = 0;
  if (bytes.empty() || tjDecompressHeader3(decompressor.get(), bytes.data(),
                                           static_cast<unsigned long>(bytes.size()), &width,
                                           &height, &subsampling, &colourspace) != 0) {
    error = bytes.empty() ? "empty file" : tjGetErrorStr2(decompressor.get());
    return std::nullopt;
  }
  if (width <= 0 || height <= 0 || static_cast<long>(width) * height > kMaxPicturePixels) {
    error = "picture too large: " + std::to_string(width) + "x" + std::to_string(height);
    return std::nullopt;
  }
  RgbaPicture picture{width, height,
                      std::vector<std::uint8_t>(static_cast<size_t>(width) * height * 4)};
  if (tjDecompress2(decompressor.get(), bytes.data(), static_cast<unsigned long>(bytes.size()),
                    picture.pixels.data(), width, 0, height, TJPF_RGBA, 0) != 0 &&
      tjGetErrorCode(decompressor.get()) == TJERR_FATAL) {
    error = tjGetErrorStr2(decompressor.get());
    return std::nullopt;
  }
  return picture;  // a mere warning (a truncated file) still gives what could be decoded
}

std::optional<RgbaPicture> decode_jpeg_file(const std::string& file, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = "cannot open the file";
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  return decode_jpeg(bytes, error);
}

}  // namespace tindel
