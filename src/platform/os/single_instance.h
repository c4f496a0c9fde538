#pragma once
// One running copy per program directory: the first copy holds a lock file and listens on
// a local socket, both named from the canonical program directory and kept in
// $XDG_RUNTIME_DIR (when that is unset, in a 0700 folder of the user's own below the
// temporary directory). A later copy finds the lock taken and asks the first, over the
// socket, to show its main window.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform::os {

class SingleInstance {
 public:
  enum class Result {
    First,        // this process is the running copy: it holds the lock and listens
    AnotherCopy,  // another copy holds the lock; it was asked to show its main window
    Failed,       // the lock could not be made at all (runtime directory unusable or not ours)
  };

  // `programDirectory` is GB18030; it is created (0700) when missing, so that it has a
  // canonical name from the first start on.
  explicit SingleInstance(std::string_view programDirectory);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Once, early at start. A lock left by a copy that died is taken over. With AnotherCopy
  // the caller ends with code 0; it is returned also when the running copy did not answer
  // within a few seconds (it may be hung), since it still holds the lock.
  Result Acquire();

  // In the first copy: called from the event loop each time a later copy asks to be shown.
  void SetShowRequestHandler(std::function<void()> handler);

  // The files used, in UTF-8 (for messages and tests).
  std::string LockFilePath() const;
  std::string SocketPath() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform::os
