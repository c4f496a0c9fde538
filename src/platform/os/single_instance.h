#pragma once
// One running copy per program directory. The first copy holds a kernel lock (flock) on a
// file in the program directory, which must be the user's own and one no one else can write
// into, and listens on a local socket beside it; where the socket cannot be there (its path
// too long for one, a file system that refuses it), in $XDG_RUNTIME_DIR when that is the
// user's alone. The system lets the lock go however the copy ends, so the file's presence and
// content mean nothing. A later copy finds the lock taken and asks the first, over the
// socket, to show its main window.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform::os {

class SingleInstance {
 public:
  enum class Result {
    First,        // this process is the running copy: it holds the lock and listens where it can
    AnotherCopy,  // another copy holds the lock; it was asked to show its main window
    NoAnswer,     // another copy holds the lock but did not answer within the wait (stopped,
                  // busy, or its socket out of reach)
    Failed,       // no lock could be taken: the program directory could not be made, is not
                  // the user's own or others can write into it, or the lock file could not
                  // be opened or locked
  };

  // `programDirectory` is GB18030; it is created (0700) when missing, so that it has a
  // canonical name from the first start on. An existing one keeps its mode.
  explicit SingleInstance(std::string_view programDirectory);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Once, early at start. With AnotherCopy or NoAnswer the caller ends; the lock of a copy
  // that has ended, whichever way, is free.
  Result Acquire();

  // In the first copy: called from the event loop each time a later copy asks to be shown.
  void SetShowRequestHandler(std::function<void()> handler);

  // The files used, in UTF-8 (for messages and tests). The socket is the one this copy
  // listens on, or through which the running copy answered; "" when there is none.
  std::string LockFilePath() const;
  std::string SocketPath() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::os
