#pragma once
// The signals that ask a program to end (SIGTERM from a logout or a shutdown, SIGINT from a
// terminal's Ctrl+C, SIGHUP when its terminal goes) come to the window thread as an event,
// so that the program ends the way its own end does: a signal handler itself may do almost
// nothing, and least of all close windows or write files.
#include <functional>
#include <memory>

namespace platform::os {

class EndSignals {
 public:
  // From now on each of the three signals calls `end` from the event loop, nested loops of
  // modal windows included; until then it waits. A second one of the same signal, should the
  // first not have ended the program (its window thread held up), ends it at once. Needs the
  // application object; one at a time.
  explicit EndSignals(std::function<void()> end);
  // The signals take their former actions again.
  ~EndSignals();
  EndSignals(const EndSignals&) = delete;
  EndSignals& operator=(const EndSignals&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::os
