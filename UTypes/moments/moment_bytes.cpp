// The byte form of a moment: its fields in order, numbers little-endian, texts with their
// length first, the screen as runs of equal cells (a screen is mostly blank).
#include <sstream>

#include "UTypes/moments/byte_stream.h"
#include "UTypes/moments/moment.h"

namespace tindel {

namespace {

constexpr std::size_t kLongText = 1 << 20;  // token and string results, the quest's name
constexpr std::size_t kRandomText = 1 << 14;

void write_screen(ByteWriter& out, const ScreenImage& screen) {
  out.number<std::int32_t>(screen.width);
  out.number<std::int32_t>(screen.height);
  out.number<std::int32_t>(screen.cursor_x);
  out.number<std::int32_t>(screen.cursor_y);
  for (std::size_t i = 0; i < screen.cells.size();) {
    std::size_t end = i;
    while (end < screen.cells.size() && screen.cells[end] == screen.cells[i])
      ++end;
    out.number<std::uint32_t>(static_cast<std::uint32_t>(end - i));
    out.number(screen.cells[i].ch);
    out.number(screen.cells[i].attr);
    i = end;
  }
}

std::optional<ScreenImage> read_screen(ByteReader& in) {
  ScreenImage screen;
  screen.width = in.number<std::int32_t>();
  screen.height = in.number<std::int32_t>();
  screen.cursor_x = in.number<std::int32_t>();
  screen.cursor_y = in.number<std::int32_t>();
  if (screen.width != screen_side(screen.width) || screen.height != screen_side(screen.height) ||
      screen.cursor_x < 0 || screen.cursor_x >= screen.width || screen.cursor_y < 0 ||
      screen.cursor_y >= screen.height)
    return std::nullopt;
  std::size_t cells =
      static_cast<std::size_t>(screen.width) * static_cast<std::size_t>(screen.height);
  while (in.ok() && screen.cells.size() < cells) {
    auto run = in.number<std::uint32_t>();
    Cell cell{in.number<std::uint8_t>(), in.number<std::uint8_t>()};
    if (run == 0 || run > cells - screen.cells.size()) return std::nullopt;
    screen.cells.insert(screen.cells.end(), run, cell);
  }
  if (!in.ok()) return std::nullopt;
  return screen;
}

void write_state(ByteWriter& out, const Moment& m) {
  out.text(m.quest_name);
  out.text(m.common_name);
  out.text(m.current_label);
  out.number(static_cast<std::uint32_t>(m.call_stack.size()));
  for (std::int32_t line : m.call_stack)
    out.number(line);
  out.number(static_cast<std::uint32_t>(m.slots.size()));
  for (const SlotValue& slot : m.slots) {
    out.number(slot.index);
    out.number(slot.value);
    out.text(slot.name);
  }
  out.number(m.var_boundary);
}

bool read_state(ByteReader& in, Moment& m) {
  m.quest_name = in.text(kLongText);
  m.common_name = in.text(kLongText);
  m.current_label = in.text(kLongText);
  auto calls = in.number<std::uint32_t>();
  if (calls > kMaxCalls) return false;
  for (std::uint32_t i = 0; i < calls && in.ok(); ++i)
    m.call_stack.push_back(in.number<std::int32_t>());
  auto slots = in.number<std::uint32_t>();
  if (slots > kVarSlots) return false;
  int previous = -1;
  for (std::uint32_t i = 0; i < slots && in.ok(); ++i) {
    SlotValue slot{in.number<std::uint16_t>(), in.number<double>(), in.text(kNameMax)};
    if (slot.index <= previous || slot.index >= kVarSlots) return false;
    previous = slot.index;
    m.slots.push_back(std::move(slot));
  }
  m.var_boundary = in.number<std::int32_t>();
  return in.ok() && m.var_boundary >= 1 && m.var_boundary <= kVarSlots;
}

void write_play(ByteWriter& out, const Moment& m) {
  out.number(static_cast<std::uint64_t>(m.reader.pos));
  out.number(m.reader.cur_char);
  out.number(m.reader.line_no);
  out.number(m.reader.line_pos);
  out.number(static_cast<std::int32_t>(m.token_kind));
  out.text(m.token_text);
  out.number(m.number_value);
  out.text(m.str_result);
  out.text(m.block_chars);
  out.text(m.block_colours);
  out.number(m.block_column);
  out.number(m.block_lines);
  out.number(static_cast<std::uint32_t>(m.button_labels.size()));
  for (std::size_t i = 0; i < m.button_labels.size(); ++i) {
    out.text(m.button_labels[i]);
    out.text(m.button_captions[i]);
  }
  out.number(m.text_attr);
  out.text(m.random);
  out.number(static_cast<std::uint8_t>(m.wait.location_end));
  out.number(m.wait.pause_ms);
}

bool valid_random(const std::string& text) {
  std::mt19937 random;
  std::istringstream in(text);
  in >> random;
  return !in.fail();
}

bool read_play(ByteReader& in, Moment& m) {
  m.reader.pos = static_cast<std::size_t>(in.number<std::uint64_t>());
  m.reader.cur_char = in.number<std::uint8_t>();
  m.reader.line_no = in.number<std::int32_t>();
  m.reader.line_pos = in.number<std::int32_t>();
  auto kind = in.number<std::int32_t>();
  if (kind < 0 || kind >= kTokenKinds) return false;
  m.token_kind = static_cast<TokenKind>(kind);
  m.token_text = in.text(kLongText);
  m.number_value = in.number<double>();
  m.str_result = in.text(kLongText);
  m.block_chars = in.text(kBlockCells);
  m.block_colours = in.text(kBlockCells);
  if (m.block_chars.size() != m.block_colours.size()) return false;
  m.block_column = in.number<std::int32_t>();
  m.block_lines = in.number<std::int32_t>();
  auto buttons = in.number<std::uint32_t>();
  if (buttons > kMaxButtons) return false;
  for (std::uint32_t i = 0; i < buttons && in.ok(); ++i) {
    m.button_labels.push_back(in.text(kNameMax));
    m.button_captions.push_back(in.text(kNameMax));
  }
  m.text_attr = in.number<std::uint8_t>();
  m.random = in.text(kRandomText);
  auto end = in.number<std::uint8_t>();
  m.wait = MenuWait{end != 0, in.number<std::int32_t>()};
  return in.ok() && end <= 1 && valid_random(m.random);
}

}  // namespace

std::string moment_to_bytes(const Moment& m) {
  ByteWriter out;
  write_state(out, m);
  write_play(out, m);
  out.number(static_cast<std::uint8_t>(m.screen.has_value()));
  if (m.screen) write_screen(out, *m.screen);
  return std::move(out.bytes());
}

std::optional<Moment> moment_from_bytes(std::string_view bytes) {
  ByteReader in(bytes);
  Moment m;
  if (!read_state(in, m) || !read_play(in, m)) return std::nullopt;
  auto has_screen = in.number<std::uint8_t>();
  if (has_screen > 1) return std::nullopt;
  if (has_screen == 1 && !(m.screen = read_screen(in))) return std::nullopt;
  if (!in.ok() || !in.at_end()) return std::nullopt;
  return m;
}

}  // namespace tindel
