#pragma once
// Shutting down, restarting, logging off, locking the screen and turning the monitor off.
// Every request goes through the backend in place: the desktop's (which only logs when
// WORKMEMO_POWER_DRY_RUN is set), or the recording fake that tests put in place.
#include <string>
#include <vector>

namespace platform::os {

enum class PowerRequest { Shutdown, Restart, LogOff, LockScreen, MonitorOff };

// "shutdown", "restart", "log off", "lock screen", "monitor off".
const char* PowerRequestName(PowerRequest request);

class PowerBackend {
 public:
  virtual ~PowerBackend() = default;
  // Asks the system for `request`; `force` counts only for shutdown, restart and log off
  // (a forced request does not wait for the session's programs). True when the request
  // was accepted; nothing is shown either way.
  virtual bool Perform(PowerRequest request, bool force) = 0;
};

// The backend in use: the desktop's, unless a test set another.
PowerBackend& CurrentPowerBackend();
// Puts `backend` in place (nullptr restores the desktop's); the caller keeps it alive.
void SetPowerBackend(PowerBackend* backend);

// True when WORKMEMO_POWER_DRY_RUN is set to anything but "" or "0": the desktop's backend
// then only writes what it would do, one line per request, to the file named by
// WORKMEMO_POWER_LOG (appended) or else to stderr, and touches nothing.
bool PowerDryRun();

// A fake that records every request.
class RecordingPowerBackend : public PowerBackend {
 public:
  struct Call {
    PowerRequest request;
    bool force;
    bool operator==(const Call&) const = default;
  };
  bool Perform(PowerRequest request, bool force) override;
  std::vector<Call> calls;
  bool succeed = true;
};

}  // namespace platform::os
