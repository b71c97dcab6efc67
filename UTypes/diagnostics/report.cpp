#include "UTypes/diagnostics/report.h"

#include <cerrno>
#include <cstring>

#include "UTypes/console/console.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/saves/savegame.h"
#include "UTypes/state/program_end.h"

namespace tindel {

std::string error_text(const InterpreterState& s, std::string_view message) {
  std::string text = "Error: " + std::string(message) + "  (STR:" + inttostr(s.line_no) +
                     ",POS:" + inttostr(s.line_pos);
  if (s.token_kind == TokenKind::Number) {
    text += ",NUMBER:" + s.token_text + ")";
  } else if (s.token_kind == TokenKind::Ident) {
    text += ",IDENT:" + s.token_text + ")";
  } else {
    auto kind = static_cast<std::size_t>(s.token_kind);
    text += ",TOKEN:" + s.token_names[kind < s.token_names.size() ? kind : 0].str() + ")";
  }
  return text;
}

void reporterror(InterpreterState& s, std::string_view message, int status) {
  if (s.check_observer) s.check_observer->error(s, message);
  std::string text = error_text(s, message);
  s.syntax_level = 0;
  savegame(s, "debug.txt", s.current_label, text);
  conwrite(s, "<" + shown_quest_name(s) + "> \r\n" + text + "\r\n<press enter>");
  s.con_out->flush();
  s.con_in->readline();  // whatever was typed is dropped; the end of input ends the wait too
  throw ProgramEnd{status, ""};
}

void warning(InterpreterState& s, std::string_view tail) {
  if (s.check_observer) return s.check_observer->warning(s, tail);
  conwriteln(s, "warning: STR " + inttostr(s.line_no) + std::string(tail));
}

void trace(InterpreterState& s) {
  if (!s.log_on || !s.log_file) return;
  auto kind = static_cast<std::size_t>(s.token_kind);
  std::string line = inttostr(s.line_no) + ": " +
                     s.token_names[kind < s.token_names.size() ? kind : 0].str() + " _ " +
                     s.token_text + " _ " + s.str_result + " _ \r\n";
  if (std::fwrite(line.data(), 1, line.size(), s.log_file) != line.size() ||
      std::fflush(s.log_file) != 0)
    io_failure("log.txt", std::string("cannot be written: ") + std::strerror(errno));
}

void open_log(InterpreterState& s) {
  if (s.log_file) std::fclose(s.log_file);
  s.log_file = std::fopen("log.txt", "wb");
  if (!s.log_file) io_failure("log.txt", std::string("cannot be created: ") + std::strerror(errno));
}

}  // namespace tindel
