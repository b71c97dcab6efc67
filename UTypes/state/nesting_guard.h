#pragma once
// One level of a recursion that the quest drives (parentheses, texts inside texts, menus
// re-entered from use actions). Past kMaxNesting levels the quest gets an error report
// instead of overflowing the machine stack.
#include <cstdint>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// Far beyond any hand-written quest, and a small part of an 8 MB stack even with the
// larger frames of a sanitizer build.
constexpr std::int32_t kMaxNesting = 200;

class NestingGuard {
 public:
  // Counts one level in depth; reports message when that passes the bound.
  NestingGuard(InterpreterState& s, std::int32_t& depth, std::string_view message);
  ~NestingGuard() { --depth_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  std::int32_t& depth_;
};

}  // namespace tindel
