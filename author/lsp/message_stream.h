#pragma once
// The base protocol's framing: each message is a header block ("Content-Length: N", CR LF
// after each header, an empty line) followed by N bytes of JSON.
#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace tindel::author::lsp {

enum class ReadStatus { message, end_of_input, bad_header };

struct ReadResult {
  ReadStatus status = ReadStatus::end_of_input;
  std::string body;
};

// A body larger than this is refused as a bad header rather than allocated.
inline constexpr std::size_t kMaxMessageBytes = std::size_t{256} << 20;

// Reads one message. After a bad header block the next call reads on from the following one.
ReadResult read_message(std::istream& in);
void write_message(std::ostream& out, std::string_view body);

}  // namespace tindel::author::lsp
