#pragma once
// One running copy per program directory. The first copy holds a lock file in the program
// directory, which must be the user's own and is closed to everyone else, and listens on a
// local socket beside it; where the socket cannot be there (its path too long for one, a file
// system that refuses it), in $XDG_RUNTIME_DIR when that is the user's alone. A later copy
// finds the lock taken and asks the first, over the socket, to show its main window.
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
    Failed,       // no lock could be taken: the program directory could not be made or is not
                  // the user's own, or the lock file could not be written
  };

  // `programDirectory` is GB18030; it is created (0700) when missing, so that it has a
  // canonical name from the first start on, and one of the user's own loses any access
  // group and others had.
  explicit SingleInstance(std::string_view programDirectory);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Once, early at start. A lock left by a copy that died is taken over. With AnotherCopy
  // the caller ends with code 0; it is returned also when the running copy did not answer
  // within a few seconds (it may be hung) or has no socket, since it still holds the lock.
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
