#include "UTypes/console/exit_signals.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <new>

#include "UTypes/state/emergency_hooks.h"

namespace tindel {

namespace {

constexpr int kExitSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV,
                                SIGBUS, SIGFPE,  SIGILL, SIGABRT};
constexpr int kExitSignalCount = sizeof(kExitSignals) / sizeof(kExitSignals[0]);
struct sigaction previous_actions[kExitSignalCount];
bool exit_handlers_installed = false;

// A crash by stack overflow leaves no room on the stack for its handler: the handlers of
// the ending signals run on a stack of their own. One that is already in place and large
// enough (a sanitizer's) is kept.
std::size_t alternate_stack_size() {
  constexpr std::size_t kAtLeast = 64 * 1024;
  const long reported = ::sysconf(_SC_SIGSTKSZ);
  return std::max(kAtLeast, reported > 0 ? static_cast<std::size_t>(reported) : 0);
}

// Kept for the life of the process (a handler may run until its very end); held here so that
// a leak checker sees it is still in use.
void* alternate_stack = nullptr;

void ensure_alternate_stack() {
  const std::size_t size = alternate_stack_size();
  stack_t current{};
  if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE) &&
      current.ss_size >= size)
    return;
  if (alternate_stack != nullptr) return;
  void* memory = ::operator new(size, std::nothrow);
  if (memory == nullptr) return;
  stack_t fresh{};
  fresh.ss_sp = memory;
  fresh.ss_size = size;
  fresh.ss_flags = 0;
  if (::sigaltstack(&fresh, nullptr) != 0) {
    ::operator delete(memory);
    return;
  }
  alternate_stack = memory;
}

void on_exit_signal(int sig) {
  run_emergency_hooks();
  for (int i = 0; i < kExitSignalCount; ++i)
    if (kExitSignals[i] == sig) ::sigaction(sig, &previous_actions[i], nullptr);
  ::raise(sig);  // delivered, with the previous disposition, when this handler returns
}

}  // namespace

void install_signal_handler(int sig, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  ::sigaction(sig, &action, nullptr);
}

void install_exit_signal_handlers() {
  if (exit_handlers_installed) return;
  exit_handlers_installed = true;
  ensure_alternate_stack();
  struct sigaction action {};
  action.sa_handler = on_exit_signal;
  action.sa_flags = SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int sig : kExitSignals)
    sigaddset(&action.sa_mask, sig);
  for (int i = 0; i < kExitSignalCount; ++i) {
    ::sigaction(kExitSignals[i], nullptr, &previous_actions[i]);
    if (previous_actions[i].sa_handler == SIG_IGN) continue;
    ::sigaction(kExitSignals[i], &action, nullptr);
  }
}

}  // namespace tindel
