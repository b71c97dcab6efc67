#include "UTypes/saves/savegame.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <climits>
#include <cstring>
#include <fstream>
#include <optional>

#include "UTypes/console/console_ops.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/saves/save_format.h"
#include "UTypes/state/program_end.h"

namespace tindel {

const char* const kSaveHeader = "Skein-save. Tindel v0.0.9, a quest player for terminals";

namespace {

class SaveWriter {
 public:
  explicit SaveWriter(const std::string& file) : file_(file), fp_(std::fopen(file.c_str(), "wb")) {
    if (!fp_) io_failure(file_, std::string("cannot be written: ") + std::strerror(errno));
  }
  ~SaveWriter() {
    if (fp_) std::fclose(fp_);
  }
  void line(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), fp_) != text.size() ||
        std::fwrite("\r\n", 1, 2, fp_) != 2)
      fail();
  }
  void close() {
    std::FILE* fp = fp_;
    fp_ = nullptr;
    if (std::fclose(fp) != 0) fail();
  }

 private:
  [[noreturn]] void fail() { io_failure(file_, std::string("cannot be written: ") + std::strerror(errno)); }
  std::string file_;
  std::FILE* fp_;
};

// Reads a saved game line by line; a line that cannot be read is an input/output failure
// that names the file and the line.
class SaveReader {
 public:
  SaveReader(std::ifstream& in, const std::string& file) : in_(in), file_(file) {}
  std::optional<std::string> next() {
    std::string text;
    if (!std::getline(in_, text)) return std::nullopt;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    ++line_no_;
    return text;
  }
  std::string line() {
    auto text = next();
    if (!text) fail("the file ends early");
    return *text;
  }
  long integer(long low, long high) {
    std::string text = line();
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(start, &end, 10);
    if (end == start || errno == ERANGE) fail("a whole number was expected");
    if (v < low || v > high) fail("the number " + std::to_string(v) + " is out of range");
    return v;
  }
  [[noreturn]] void fail(const std::string& why) {
    io_failure(file_, "line " + std::to_string(line_no_ + (in_ ? 0 : 1)) + ": " + why);
  }

 private:
  std::ifstream& in_;
  const std::string& file_;
  int line_no_ = 0;
};

void read_call_stack(InterpreterState& s, SaveReader& reader) {
  s.call_depth = static_cast<std::int32_t>(reader.integer(0, kCallStackSize));
  for (int i = 0; i < s.call_depth; ++i) {
    s.call_stack[static_cast<std::size_t>(i)] =
        static_cast<std::int32_t>(reader.integer(INT32_MIN, INT32_MAX));
    s.resume_points[static_cast<std::size_t>(i)].valid = false;
  }
}

void read_slots(InterpreterState& s, SaveReader& reader) {
  long last = reader.integer(LONG_MIN, kLastSlot);
  for (long i = 0; i <= last; ++i) {
    SlotLine slot = parse_slot_line(reader.line());
    if (!slot.ok) reader.fail("a number was expected");
    s.var_values[static_cast<std::size_t>(i)] = slot.value;
    s.var_names[static_cast<std::size_t>(i)] = slot.name;
  }
}

}  // namespace

void savegame(InterpreterState& s, const std::string& file, std::string_view label,
              std::string_view header) {
  if (s.syntax_level != 0) return;
  SaveWriter out(file);
  out.line(header);
  out.line(s.quest_name);
  out.line(s.common_name);
  out.line(label);
  out.line(inttostr(s.call_depth) + " calls:");
  for (int i = 0; i < s.call_depth && i < kCallStackSize; ++i)
    out.line(inttostr(s.call_stack[static_cast<std::size_t>(i)]));
  out.line(inttostr(kLastSlot) + " vars:");
  for (int i = 0; i <= kLastSlot; ++i)
    out.line(format_slot_line(s.var_values[static_cast<std::size_t>(i)],
                              s.var_names[static_cast<std::size_t>(i)].view()));
  out.line("eof");
  out.close();
}

void loadgame(InterpreterState& s, const std::string& file) {
  if (s.syntax_level != 0) return;
  std::ifstream in(file, std::ios::binary);
  if (!in) return;
  SaveReader reader(in, file);
  reader.line();  // the header is never read back
  std::string stored = reader.line();
  if (stored != s.quest_name) reporterror(s, "QUEST NAME: <" + s.quest_name + "> ? <" + stored + ">");
  s.common_name = reader.line();
  s.current_label = reader.line();
  read_call_stack(s, reader);
  read_slots(s, reader);
  auto last = reader.next();
  if (!last || *last != "eof") conwriteln(s, "warning: \"eof\" not found.");
}

}  // namespace tindel
