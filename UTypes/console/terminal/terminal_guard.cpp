#include "UTypes/console/terminal/terminal_guard.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "UTypes/console/exit_signals.h"
#include "UTypes/state/emergency_hooks.h"

namespace tindel {

namespace {

volatile std::sig_atomic_t resized = 0;
volatile std::sig_atomic_t resumed = 0;

// The terminal the guard owns. Changed only with every signal blocked.
enum Mode : int { kGivenBack, kRaw, kLine };
int in_fd = -1;
int out_fd = -1;
termios saved_settings;
termios raw_settings;
termios line_settings;
volatile std::sig_atomic_t active = 0;
volatile std::sig_atomic_t mode = kGivenBack;

// The farewell bytes, double-buffered so a handler never sees half an update.
constexpr std::size_t kFarewellRoom = 256;
char farewell[2][kFarewellRoom];
std::size_t farewell_length[2] = {0, 0};
volatile std::sig_atomic_t farewell_index = 0;

void write_all(int fd, const char* bytes, std::size_t length) {
  while (length > 0) {
    ssize_t n = ::write(fd, bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes += n;
    length -= static_cast<std::size_t>(n);
  }
}

void apply(const termios& settings) {
  ::tcsetattr(in_fd, TCSANOW, &settings);
}

// The original settings back, also when the shell has already taken the terminal (the
// program runs under a wrapper script that stopped first, or it is ended while in the
// background): with SIGTTOU blocked the call is not turned into a stop.
void apply_saved_settings() {
  sigset_t ttou;
  sigset_t previous;
  sigemptyset(&ttou);
  sigaddset(&ttou, SIGTTOU);
  ::sigprocmask(SIG_BLOCK, &ttou, &previous);
  apply(saved_settings);
  ::sigprocmask(SIG_SETMASK, &previous, nullptr);
}

// Keeps every signal away while the state the handlers read is being changed.
class SignalsBlocked {
 public:
  SignalsBlocked() {
    sigset_t all;
    sigfillset(&all);
    ::sigprocmask(SIG_BLOCK, &all, &previous_);
  }
  ~SignalsBlocked() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  SignalsBlocked(const SignalsBlocked&) = delete;
  SignalsBlocked& operator=(const SignalsBlocked&) = delete;

 private:
  sigset_t previous_;
};

// The emergency hook: async-signal-safe.
void give_terminal_back() {
  if (!active) return;
  active = 0;
  mode = kGivenBack;
  apply_saved_settings();
  int i = farewell_index;
  write_all(out_fd, farewell[i], farewell_length[i]);
}

void on_resize(int) {
  resized = 1;
}

// Leaves a signal alone that was ignored when the program started (no job control there).
void install_unless_ignored(int sig, void (*handler)(int), int flags) {
  struct sigaction current {};
  ::sigaction(sig, nullptr, &current);
  if (current.sa_handler != SIG_IGN) install_signal_handler(sig, handler, flags);
}

// Stop: give the terminal back while stopped, take it again when continued.
void on_stop(int) {
  const int saved_errno = errno;
  const int was_mode = mode;
  if (active) {
    apply_saved_settings();
    int i = farewell_index;
    write_all(out_fd, farewell[i], farewell_length[i]);
  }
  install_signal_handler(SIGTSTP, SIG_DFL, 0);
  sigset_t stop_set;
  sigemptyset(&stop_set);
  sigaddset(&stop_set, SIGTSTP);
  ::sigprocmask(SIG_UNBLOCK, &stop_set, nullptr);
  ::raise(SIGTSTP);  // the process stops here until SIGCONT
  install_signal_handler(SIGTSTP, on_stop, SA_RESTART);
  if (active) apply(was_mode == kLine ? line_settings : raw_settings);
  resumed = 1;
  errno = saved_errno;
}

// Continued after a stop we did not see (SIGSTOP): the shell may have changed the settings.
void on_continue(int) {
  const int saved_errno = errno;
  if (active && mode != kGivenBack) apply(mode == kLine ? line_settings : raw_settings);
  resumed = 1;
  errno = saved_errno;
}

termios make_raw(termios t) {
  t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  t.c_lflag |= ISIG;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR);
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  return t;
}

termios make_line(termios t, bool utf8) {
  t.c_lflag |= ICANON | ECHO | ISIG;
  t.c_iflag |= ICRNL;
#ifdef IUTF8
  if (utf8) {
    t.c_iflag |= IUTF8;
  } else {
    t.c_iflag &= ~static_cast<tcflag_t>(IUTF8);
  }
#else
  (void)utf8;
#endif
  return t;
}

}  // namespace

bool take_resize_signal() {
  if (!resized) return false;
  resized = 0;
  return true;
}

bool take_resume_signal() {
  if (!resumed) return false;
  resumed = 0;
  return true;
}

TerminalGuard::TerminalGuard(int in, int out) {
  termios current;
  if (::tcgetattr(in, &current) != 0) return;
  usable_ = true;
  {
    SignalsBlocked blocked;
    in_fd = in;
    out_fd = out;
    saved_settings = current;
    raw_settings = make_raw(current);
    line_settings = make_line(current, true);
    farewell_length[0] = farewell_length[1] = 0;
    mode = kGivenBack;
    active = 1;
  }
  add_emergency_hook(give_terminal_back);
  install_exit_signal_handlers();
  install_signal_handler(SIGWINCH, on_resize, SA_RESTART);
  install_unless_ignored(SIGTSTP, on_stop, SA_RESTART);
  install_signal_handler(SIGCONT, on_continue, SA_RESTART);
}

void TerminalGuard::enter_raw() {
  if (!usable_ || !active) return;
  mode = kRaw;
  apply(raw_settings);
}

void TerminalGuard::enter_line_mode(bool utf8) {
  if (!usable_ || !active) return;
  SignalsBlocked blocked;
  line_settings = make_line(saved_settings, utf8);
  mode = kLine;
  apply(line_settings);
}

void TerminalGuard::set_farewell(std::string_view bytes) {
  const int next = 1 - farewell_index;
  const std::size_t length = std::min(bytes.size(), kFarewellRoom);
  if (length > 0) std::memcpy(farewell[next], bytes.data(), length);
  farewell_length[next] = length;
  farewell_index = next;
}

void TerminalGuard::restore() {
  if (!usable_) return;
  give_terminal_back();
  usable_ = false;
}

}  // namespace tindel
