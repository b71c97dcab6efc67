#include "UTypes/console/stream/plain_screen.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "UTypes/console/screen_extent.h"

namespace tindel {

PlainScreen::PlainScreen(int out_fd, const Charset& charset)
    : model_(80, 25), out_fd_(out_fd), charset_(charset) {
  model_.set_listener(this);
}

void PlainScreen::show_live() {
  live_ = true;
  shown_.assign(static_cast<std::size_t>(model_.height()), std::string());
}

void PlainScreen::clrscr(std::uint8_t attr) {
  flush();
  model_.clear(attr);
  attr_ = attr;
  emitted_ = 0;
  if (live_) show_live();
}

void PlainScreen::conwrite(std::string_view bytes, std::uint8_t attr) {
  attr_ = attr;
  model_.write(bytes, attr);
}

void PlainScreen::settle() {
  if (!live_) {
    emit_rows_through(model_.cursor_y() - 1);
  } else {
    rewind_to_changed_row();
    int last = last_row_in_use(model_);
    if (last == model_.cursor_y()) --last;  // the cursor's own row is still being written
    emit_rows_through(last);
  }
  send();
}

void PlainScreen::rewind_to_changed_row() {
  for (int y = 0; y < emitted_; ++y) {
    if (model_.row_text(y) != shown_[static_cast<std::size_t>(y)]) {
      emitted_ = y;
      return;
    }
  }
}

void PlainScreen::echo_line(const std::string& cp866) {
  model_.write(cp866 + "\r\n", attr_);
}

void PlainScreen::begin_echoed_line() {
  settle();
  if (emitted_ > model_.cursor_y()) return;  // the row went out already (a flush)
  std::string row = model_.row_text(model_.cursor_y());
  row.resize(static_cast<std::size_t>(model_.cursor_x()), ' ');  // the blanks after a prompt
  write_out(charset_.display(row));
  send();
}

void PlainScreen::end_echoed_line(const std::string& cp866) {
  echo_line(cp866);
  // The terminal's echo has put these rows on the screen already.
  for (; emitted_ < model_.cursor_y(); ++emitted_)
    if (live_) shown_[static_cast<std::size_t>(emitted_)] = model_.row_text(emitted_);
}

std::string PlainScreen::cursor_row() const {
  std::string row = model_.row_text(model_.cursor_y());
  row.resize(std::min(row.size(), static_cast<std::size_t>(model_.cursor_x())));
  return charset_.display(row);
}

void PlainScreen::flush() {
  emit_rows_through(last_row_in_use(model_));
  send();
}

void PlainScreen::before_scroll(const ScreenModel&) {
  if (live_) {
    shown_.erase(shown_.begin());
    shown_.emplace_back();
  }
  if (emitted_ == 0) {
    write_out(charset_.display(model_.row_text(0)) + "\n");
  } else {
    --emitted_;  // the emitted top row goes; the rest move up by one
  }
}

void PlainScreen::emit_rows_through(int last) {
  std::string text;
  for (; emitted_ <= last; ++emitted_) {
    std::string row = model_.row_text(emitted_);
    text += charset_.display(row);
    text += '\n';
    if (live_) shown_[static_cast<std::size_t>(emitted_)] = std::move(row);
  }
  if (!text.empty()) write_out(text);
}

void PlainScreen::write_out(const std::string& text) {
  pending_ += text;
  if (pending_.size() >= kSendAt) send();
}

void PlainScreen::send() {
  std::string_view rest = pending_;
  while (!rest.empty()) {
    ssize_t n = ::write(out_fd_, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // nobody reads any more: the text has nowhere to go
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  pending_.clear();
}

}  // namespace tindel
