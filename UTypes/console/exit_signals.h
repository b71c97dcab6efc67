#pragma once
// The signals that end the program (Ctrl+C, kill, hang-up, a crash), for every front end that
// runs in a process of its own: whatever must not outlive the program (the terminal's settings,
// players still sounding) is undone by the emergency hooks their handlers run.

namespace tindel {

// Handlers for SIGINT, SIGTERM, SIGHUP, SIGQUIT and the fatal SIGSEGV, SIGBUS, SIGFPE, SIGILL,
// SIGABRT, on a stack of their own (a stack overflow leaves none): they run the emergency
// hooks, put the previous disposition back and raise the
// signal again, so the parent sees the true cause. A signal ignored at start stays ignored.
// Installing twice does nothing more.
void install_exit_signal_handlers();

// Installs `handler` for `sig` with `flags` and an empty mask.
void install_signal_handler(int sig, void (*handler)(int), int flags);

}  // namespace tindel
