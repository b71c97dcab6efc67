#include "UTypes/saves/savegame.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>

#include "UTypes/console/console_ops.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/saves/save_format.h"
#include "UTypes/saves/save_reader.h"
#include "UTypes/state/program_end.h"

namespace tindel {

const char* const kSaveHeader = "Skein-save. Tindel v0.0.9, a quest player for terminals";

namespace {

// Lines ended by CR LF, put together in one string.
class SaveLines {
 public:
  SaveLines() { text_.reserve(kTypicalSize); }
  void line(std::string_view text) {
    text_ += text;
    end_line();
  }
  // The text so far, for a line put together in place; end_line() ends it.
  std::string& text() { return text_; }
  void end_line() { text_ += "\r\n"; }

 private:
  // 751 slot lines of a few characters and the rest: room enough for most tables at once.
  static constexpr std::size_t kTypicalSize = 16384;
  std::string text_;
};

void write_call_stack(const InterpreterState& s, SaveLines& out) {
  out.line(inttostr(s.call_depth) + " calls:");
  for (int i = 0; i < s.call_depth && i < kCallStackSize; ++i)
    out.line(inttostr(s.call_stack[static_cast<std::size_t>(i)]));
}

void write_slots(const InterpreterState& s, SaveLines& out) {
  out.line(inttostr(kLastSlot) + " vars:");
  for (int i = 0; i <= kLastSlot; ++i) {
    auto at = static_cast<std::size_t>(i);
    append_slot_line(out.text(), s.var_values[at], s.var_names[at].view());
    out.end_line();
  }
}

bool write_all(int fd, std::string_view rest) {
  while (!rest.empty()) {
    ssize_t n = ::write(fd, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Writes the text into a new file and closes it; false with errno set when that fails.
bool write_new_file(const std::string& path, std::string_view text) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool wrote = write_all(fd, text);
  int write_error = errno;
  bool closed = ::close(fd) == 0;
  if (!wrote) errno = write_error;
  return wrote && closed;
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

std::string saved_game_text(const InterpreterState& s, std::string_view label,
                            std::string_view header) {
  SaveLines out;
  out.line(header);
  out.line(s.quest_name);
  out.line(s.common_name);
  out.line(label);
  write_call_stack(s, out);
  write_slots(s, out);
  out.line("eof");
  return std::move(out.text());
}

void replace_file_whole(const std::string& file, std::string_view text) {
  const std::string part = file + ".part";
  if (write_new_file(part, text) && std::rename(part.c_str(), file.c_str()) == 0) return;
  int error = errno;
  std::remove(part.c_str());
  io_failure(file, std::string("cannot be written: ") + std::strerror(error));
}

void savegame(InterpreterState& s, const std::string& file, std::string_view label,
              std::string_view header) {
  if (s.syntax_level != 0) return;
  replace_file_whole(file, saved_game_text(s, label, header));
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
