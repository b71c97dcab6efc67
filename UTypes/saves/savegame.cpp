#include "UTypes/saves/savegame.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "UTypes/console/console_ops.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/saves/save_format.h"
#include "UTypes/saves/save_reader.h"
#include "UTypes/state/program_end.h"

namespace tindel {

const char* const kSaveHeader = "Skein-save. Tindel v0.0.9, a quest player for terminals";

namespace {

// Writes lines ended by CR LF into a file beside the target and puts it in the target's
// place only when it is complete, so a failed write never loses the game saved before.
// Any failure to create or write the file ends the program.
class SaveWriter {
 public:
  explicit SaveWriter(const std::string& file)
      : file_(file), part_(file + ".part"), fp_(std::fopen(part_.c_str(), "wb")) {
    if (!fp_) fail();
  }
  ~SaveWriter() {
    if (!fp_) return;
    std::fclose(fp_);
    std::remove(part_.c_str());
  }
  SaveWriter(const SaveWriter&) = delete;
  SaveWriter& operator=(const SaveWriter&) = delete;
  void line(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), fp_) != text.size() ||
        std::fwrite("\r\n", 1, 2, fp_) != 2)
      fail();
  }
  void close() {
    std::FILE* fp = fp_;
    fp_ = nullptr;
    bool written = std::fclose(fp) == 0 && std::rename(part_.c_str(), file_.c_str()) == 0;
    if (written) return;
    int error = errno;
    std::remove(part_.c_str());
    errno = error;
    fail();
  }

 private:
  [[noreturn]] void fail() const {
    io_failure(file_, std::string("cannot be written: ") + std::strerror(errno));
  }
  std::string file_;
  std::string part_;
  std::FILE* fp_;
};

void write_call_stack(const InterpreterState& s, SaveWriter& out) {
  out.line(inttostr(s.call_depth) + " calls:");
  for (int i = 0; i < s.call_depth && i < kCallStackSize; ++i)
    out.line(inttostr(s.call_stack[static_cast<std::size_t>(i)]));
}

void write_slots(const InterpreterState& s, SaveWriter& out) {
  out.line(inttostr(kLastSlot) + " vars:");
  for (int i = 0; i <= kLastSlot; ++i) {
    auto at = static_cast<std::size_t>(i);
    out.line(format_slot_line(s.var_values[at], s.var_names[at].view()));
  }
}

// "<depth> calls:" and one return line per entry; the depth must fit the stack.
void read_call_stack(InterpreterState& s, SaveReader& reader) {
  s.call_depth = static_cast<std::int32_t>(reader.integer(0, kCallStackSize));
  for (int i = 0; i < s.call_depth; ++i) {
    s.call_stack[static_cast<std::size_t>(i)] =
        static_cast<std::int32_t>(reader.integer(INT32_MIN, INT32_MAX));
    s.resume_points[static_cast<std::size_t>(i)].valid = false;
  }
}

// "<last slot> vars:" and the slot lines 0..last; slots beyond keep their values.
void read_slots(InterpreterState& s, SaveReader& reader) {
  auto last = static_cast<int>(reader.integer(INT32_MIN, kLastSlot));
  for (int i = 0; i <= last; ++i) {
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
  write_call_stack(s, out);
  write_slots(s, out);
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
  if (stored != s.quest_name)
    reporterror(s, "QUEST NAME: <" + s.quest_name + "> ? <" + stored + ">");
  s.common_name = reader.line();
  s.current_label = reader.line();
  read_call_stack(s, reader);
  read_slots(s, reader);
  std::optional<std::string> last = reader.next();
  if (!last || *last != "eof") conwriteln(s, "warning: \"eof\" not found.");
}

}  // namespace tindel
