#pragma once
// Numbers and texts as bytes, little-endian, for the moments' own formats; the reader fails
// (and stays failed) instead of reading past the end.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace tindel {

class ByteWriter {
 public:
  template <typename T>
  void number(T v) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::array<unsigned char, sizeof(T)> bits{};
    std::memcpy(bits.data(), &v, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) std::reverse(bits.begin(), bits.end());
    out_.append(reinterpret_cast<const char*>(bits.data()), bits.size());
  }
  void text(std::string_view t) {
    number(static_cast<std::uint32_t>(t.size()));
    out_.append(t);
  }
  std::string& bytes() { return out_; }

 private:
  std::string out_;
};

class ByteReader {
 public:
  explicit ByteReader(std::string_view in) : in_(in) {}
  template <typename T>
  T number() {
    std::array<unsigned char, sizeof(T)> bits{};
    if (!take(sizeof(T))) return T{};
    std::memcpy(bits.data(), in_.data() + pos_ - sizeof(T), sizeof(T));
    if constexpr (std::endian::native == std::endian::big) std::reverse(bits.begin(), bits.end());
    T v{};
    std::memcpy(&v, bits.data(), sizeof(T));
    return v;
  }
  // A text of at most max bytes; a longer one fails the reader.
  std::string text(std::size_t max) {
    auto size = number<std::uint32_t>();
    if (size > max) failed_ = true;
    if (failed_ || !take(size)) return {};
    return std::string(in_.substr(pos_ - size, size));
  }
  void fail() { failed_ = true; }
  bool ok() const { return !failed_; }
  bool at_end() const { return pos_ == in_.size(); }

 private:
  bool take(std::size_t n) {
    if (failed_ || in_.size() - pos_ < n) {
      failed_ = true;
      return false;
    }
    pos_ += n;
    return true;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace tindel
