#pragma once
// Clean-up that must run however the program ends, fatal signals included: the terminal
// settings, the players still sounding. Hooks must be async-signal-safe.
namespace tindel {

using EmergencyHook = void (*)();

// Registers a hook (at most a handful; later registrations beyond the room are ignored).
void add_emergency_hook(EmergencyHook hook);
// Runs every hook once, most recent first; safe to call from a signal handler.
void run_emergency_hooks();

}  // namespace tindel
