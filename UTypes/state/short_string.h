#pragma once
// A string of fixed capacity: storing a longer value keeps its first N characters.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tindel {

template <std::size_t N>
class ShortString {
 public:
  ShortString() = default;
  ShortString(std::string_view s) { assign(s); }  // NOLINT: implicit like the text it holds

  void assign(std::string_view s) {
    len_ = s.size() < N ? s.size() : N;
    if (len_ != 0) std::memcpy(data_.data(), s.data(), len_);
  }
  ShortString& operator=(std::string_view s) {
    assign(s);
    return *this;
  }
  void clear() { len_ = 0; }

  std::string_view view() const { return {data_.data(), len_}; }
  std::string str() const { return std::string(view()); }
  std::size_t size() const { return len_; }
  bool empty() const { return len_ == 0; }
  char operator[](std::size_t i) const { return data_[i]; }
  void set(std::size_t i, char c) { data_[i] = c; }
  static constexpr std::size_t capacity() { return N; }

  friend bool operator==(const ShortString& a, std::string_view b) { return a.view() == b; }

 private:
  std::array<char, N> data_{};
  std::size_t len_ = 0;
};

}  // namespace tindel
