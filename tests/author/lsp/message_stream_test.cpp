#include "author/lsp/message_stream.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tindel::author::lsp {
namespace {

TEST(LspMessageStream, ReadsMessagesOneAfterAnotherCountingBytesNotCharacters) {
  std::string first = R"({"a":"Привет"})";  // twelve letters, more bytes
  std::string second = R"({"b":2})";
  std::istringstream in("Content-Length: " + std::to_string(first.size()) + "\r\n\r\n" + first +
                        "content-length:" + std::to_string(second.size()) +
                        "\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n" +
                        second);
  ReadResult one = read_message(in);
  ReadResult two = read_message(in);
  EXPECT_EQ(one.status, ReadStatus::message);
  EXPECT_EQ(one.body, first);
  EXPECT_EQ(two.status, ReadStatus::message);
  EXPECT_EQ(two.body, second);
  EXPECT_EQ(read_message(in).status, ReadStatus::end_of_input);
}

TEST(LspMessageStream, SkipsAHeaderBlockWithoutLengthAndStopsAtATruncatedBody) {
  std::istringstream in(
      "Content-Type: x\r\n\r\nContent-Length: 2\r\n\r\n{}Content-Length: 9\r\n\r\n{}");
  EXPECT_EQ(read_message(in).status, ReadStatus::bad_header);
  ReadResult good = read_message(in);
  EXPECT_EQ(good.status, ReadStatus::message);
  EXPECT_EQ(good.body, "{}");
  EXPECT_EQ(read_message(in).status, ReadStatus::end_of_input);
}

TEST(LspMessageStream, RefusesALengthThatIsNotANumberOrTooLarge) {
  std::istringstream in("Content-Length: 12x\r\n\r\nContent-Length: 999999999999\r\n\r\n");
  EXPECT_EQ(read_message(in).status, ReadStatus::bad_header);
  EXPECT_EQ(read_message(in).status, ReadStatus::bad_header);
}

TEST(LspMessageStream, WritesTheHeaderWithTheBodyLengthInBytes) {
  std::ostringstream out;
  write_message(out, "{\"ё\":1}");
  EXPECT_EQ(out.str(), "Content-Length: 8\r\n\r\n{\"ё\":1}");
}

}  // namespace
}  // namespace tindel::author::lsp
