#include "platform/os/end_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <iterator>
#include <utility>

namespace platform::os {

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The writing end of the pipe the handler tells the event loop through; -1 when none.
std::atomic<int> signalPipe{-1};

// All a handler may safely do: one byte into a pipe that never blocks.
void NoteSignal(int signal) {
  const int saved = errno;
  const char byte = static_cast<char>(signal);
  const int fd = signalPipe.load();
  if (fd >= 0 && ::write(fd, &byte, 1) < 0) {
    // A full pipe already holds bytes that the event loop will read.
  }
  errno = saved;
}

}  // namespace

struct EndSignals::Impl {
  int pipe[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> reading;
  struct sigaction former[std::size(kEndSignals)] = {};
  std::function<void()> end;
};

EndSignals::EndSignals(std::function<void()> end) : impl_(std::make_unique<Impl>()) {
  impl_->end = std::move(end);
  if (::pipe2(impl_->pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  impl_->reading = std::make_unique<QSocketNotifier>(impl_->pipe[0], QSocketNotifier::Read);
  QObject::connect(impl_->reading.get(), &QSocketNotifier::activated, [impl = impl_.get()] {
    char bytes[16];
    while (::read(impl->pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (impl->end) impl->end();
  });
  signalPipe.store(impl_->pipe[1]);
  struct sigaction action = {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted calls go on; the handler is used once, so that a window thread held up does
  // not make the program deaf to a second signal.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (std::size_t i = 0; i < std::size(kEndSignals); ++i) ::sigaction(kEndSignals[i], &action, &impl_->former[i]);
}

EndSignals::~EndSignals() {
  if (impl_->pipe[0] < 0) return;
  for (std::size_t i = 0; i < std::size(kEndSignals); ++i) ::sigaction(kEndSignals[i], &impl_->former[i], nullptr);
  signalPipe.store(-1);
  impl_->reading.reset();
  ::close(impl_->pipe[0]);
  ::close(impl_->pipe[1]);
}

}  // namespace platform::os
