#include "UTypes/state/emergency_hooks.h"

#include <atomic>
#include <csignal>

namespace tindel {

namespace {
constexpr int kRoom = 8;
EmergencyHook hooks[kRoom];
std::atomic<int> hook_count{0};
volatile std::sig_atomic_t running = 0;
}  // namespace

void add_emergency_hook(EmergencyHook hook) {
  int n = hook_count.load();
  for (int i = 0; i < n; ++i)
    if (hooks[i] == hook) return;
  if (n >= kRoom) return;
  hooks[n] = hook;
  hook_count.store(n + 1);
}

void run_emergency_hooks() {
  if (running) return;  // a signal during the clean-up must not start it again
  running = 1;
  for (int i = hook_count.load() - 1; i >= 0; --i) hooks[i]();
  running = 0;
}

}  // namespace tindel
