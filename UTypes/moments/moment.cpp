#include "UTypes/moments/moment.h"

#include <sstream>

namespace tindel {

namespace {

std::size_t at(int i) {
  return static_cast<std::size_t>(i);
}

std::vector<SlotValue> used_slots(const InterpreterState& s) {
  std::vector<SlotValue> slots;
  for (int i = 0; i < kVarSlots; ++i) {
    const auto& name = s.var_names[at(i)];
    double value = s.var_values[at(i)];
    if (name.empty() && value == 0.0) continue;
    slots.push_back({static_cast<std::uint16_t>(i), value, name.str()});
  }
  return slots;
}

std::string random_state(const std::mt19937& random) {
  std::ostringstream out;
  out << random;
  return out.str();
}

void take_buttons(const InterpreterState& s, Moment& m) {
  for (int i = 0; i < s.btn_count; ++i) {
    m.button_labels.push_back(s.btn_labels[at(i)].str());
    m.button_captions.push_back(s.btn_captions[at(i)].str());
  }
}

void restore_variables(InterpreterState& s, const Moment& m) {
  s.var_names.clear_all();
  s.var_values.fill(0.0);
  for (const SlotValue& slot : m.slots) {
    s.var_names[slot.index] = slot.name;
    s.var_values[slot.index] = slot.value;
  }
  s.var_boundary = m.var_boundary;
}

void restore_text_and_buttons(InterpreterState& s, const Moment& m) {
  s.block_count = static_cast<std::int32_t>(m.block_chars.size());
  std::copy(m.block_chars.begin(), m.block_chars.end(), s.block_chars.begin());
  std::copy(m.block_colours.begin(), m.block_colours.end(), s.block_colours.begin());
  s.block_column = m.block_column;
  s.block_lines = m.block_lines;
  s.btn_count = static_cast<std::int32_t>(m.button_labels.size());
  for (std::size_t i = 0; i < m.button_labels.size(); ++i) {
    s.btn_labels[i] = m.button_labels[i];
    s.btn_captions[i] = m.button_captions[i];
  }
}

}  // namespace

Moment take_moment(const InterpreterState& s, MenuWait wait, std::optional<ScreenImage> screen) {
  Moment m;
  m.quest_name = s.quest_name;
  m.common_name = s.common_name;
  m.current_label = s.current_label;
  m.call_stack.assign(s.call_stack.begin(), s.call_stack.begin() + s.call_depth);
  m.slots = used_slots(s);
  m.var_boundary = s.var_boundary;
  m.reader = ReaderMark{s.quest_file.pos(), s.cur_char, s.line_no, s.line_pos};
  m.token_kind = s.token_kind;
  m.token_text = s.token_text;
  m.number_value = s.number_value;
  m.str_result = s.str_result;
  const char* chars = reinterpret_cast<const char*>(s.block_chars.data());
  const char* colours = reinterpret_cast<const char*>(s.block_colours.data());
  m.block_chars.assign(chars, at(s.block_count));
  m.block_colours.assign(colours, at(s.block_count));
  m.block_column = s.block_column;
  m.block_lines = s.block_lines;
  take_buttons(s, m);
  m.text_attr = s.text_attr;
  m.random = random_state(s.random);
  m.wait = wait;
  m.screen = std::move(screen);
  return m;
}

void restore_moment(InterpreterState& s, const Moment& m) {
  s.common_name = m.common_name;
  s.current_label = m.current_label;
  s.call_depth = static_cast<std::int32_t>(m.call_stack.size());
  std::copy(m.call_stack.begin(), m.call_stack.end(), s.call_stack.begin());
  restore_variables(s, m);
  s.quest_file.seek(m.reader.pos);
  s.cur_char = m.reader.cur_char;
  s.line_no = m.reader.line_no;
  s.line_pos = m.reader.line_pos;
  s.token_kind = m.token_kind;
  s.token_text = m.token_text;
  s.number_value = m.number_value;
  s.str_result = m.str_result;
  restore_text_and_buttons(s, m);
  s.text_attr = m.text_attr;
  std::istringstream(m.random) >> s.random;
}

}  // namespace tindel
