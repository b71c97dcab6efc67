#include "UTypes/console/terminal/picture/jpeg_picture.h"

#include <fstream>
#include <iterator>

#include "UTypes/console/terminal/picture/picture_api.h"

namespace tindel {

namespace {

// One decompressor for one call; freed however the call ends.
class Decompressor {
 public:
  explicit Decompressor(const JpegApi& jpeg) : jpeg_(jpeg), handle_(jpeg.tjInitDecompress()) {}
  ~Decompressor() {
    if (handle_ != nullptr) jpeg_.tjDestroy(handle_);
  }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  tjhandle get() const { return handle_; }

 private:
  const JpegApi& jpeg_;
  tjhandle handle_;
};

}  // namespace

std::optional<RgbaPicture> decode_jpeg(const std::vector<std::uint8_t>& bytes, std::string& error) {
  const JpegApi* jpeg = jpeg_api(error);
  if (jpeg == nullptr) {
    error = "the JPEG library did not load: " + error;
    return std::nullopt;
  }
  Decompressor decompressor(*jpeg);
  if (decompressor.get() == nullptr) {
    error = jpeg->tjGetErrorStr();
    return std::nullopt;
  }
  int width = 0, height = 0, subsampling = 0, colourspace = 0;
  if (bytes.empty() || jpeg->tjDecompressHeader3(decompressor.get(), bytes.data(),
                                                 static_cast<unsigned long>(bytes.size()), &width,
                                                 &height, &subsampling, &colourspace) != 0) {
    error = bytes.empty() ? "empty file" : jpeg->tjGetErrorStr2(decompressor.get());
    return std::nullopt;
  }
  if (width <= 0 || height <= 0 || static_cast<long>(width) * height > kMaxPicturePixels) {
    error = "picture too large: " + std::to_string(width) + "x" + std::to_string(height);
    return std::nullopt;
  }
  RgbaPicture picture{width, height,
                      std::vector<std::uint8_t>(static_cast<size_t>(width) * height * 4)};
  if (jpeg->tjDecompress2(decompressor.get(), bytes.data(),
                          static_cast<unsigned long>(bytes.size()), picture.pixels.data(), width, 0,
                          height, TJPF_RGBA, 0) != 0 &&
      jpeg->tjGetErrorCode(decompressor.get()) == TJERR_FATAL) {
    error = jpeg->tjGetErrorStr2(decompressor.get());
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
