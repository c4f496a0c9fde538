#pragma once
// Opening a program, a document or a web address as the desktop would.
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

// Where OpenWithShell sends its work; tests put a RecordingShellOpener in place. Every
// member is called on a thread of OpenWithShell's own, never on the window thread.
class ShellOpener {
 public:
  // What lies at a path: whether anything does, whether it is an executable regular file,
  // and its absolute path and the folder it lies in (UTF-8).
  struct FileFound {
    bool exists = false;
    bool executable = false;
    std::string path;
    std::string folder;
  };

  virtual ~ShellOpener() = default;
  // Looks at `path` (UTF-8) in the file system, as every opener does unless a test stands in.
  virtual FileFound FindFile(const std::string& path);
  // Starts `program` detached with this argument vector (never through a shell), in
  // `workingDirectory`. Paths and arguments are UTF-8 here.
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingDirectory) = 0;
  // Hands a URL (file:// for a document) to the desktop's opener.
  virtual bool OpenUrl(const std::string& url) = 0;
};

// The opener in use: the desktop's, unless a test set another.
ShellOpener& CurrentShellOpener();
// Puts `opener` in place (nullptr restores the desktop's); the caller keeps it alive until
// the opens it was given have ended (WaitForShellOpensForTest).
void SetShellOpener(ShellOpener* opener);

// The result codes of OpenWithShell: above 32 means done.
constexpr int kShellOpened = 42;
constexpr int kShellFileNotFound = 2;
constexpr int kShellFailed = 31;

// Opens `target` (GB18030): an executable file starts as a program with no arguments in
// its own folder; another existing file opens in the program the desktop gives its type;
// an address with a scheme ("http://...", "mailto:...") or starting with "www." goes to
// the opener. A target that is none of these opens nothing and answers kShellFileNotFound.
// The looks at the file and the start run on a thread of their own (RunAside): the call
// returns at once, and `done`, when given, gets the result code on the window thread. A
// result of 32 or below is written to the log as well. `window` (the caller's window id, 0
// for none) is accepted for the callers' sake.
void OpenWithShell(std::uint64_t window, std::string_view target, std::function<void(int)> done = {});

// For tests: runs the window thread's events until every open OpenWithShell began has
// handed back its result, or `patience` has passed; false when one is still running.
bool WaitForShellOpensForTest(std::chrono::milliseconds patience = std::chrono::seconds(30));

// A fake that records what would have been opened. Safe to call from the opening threads.
class RecordingShellOpener : public ShellOpener {
 public:
  struct Call {
    bool program = false;  // true: StartProgram, false: OpenUrl
    std::string target;    // the program or the URL (UTF-8)
    std::vector<std::string> arguments;
    std::string workingDirectory;
  };
  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& workingDirectory) override;
  bool OpenUrl(const std::string& url) override;
  // What was opened so far, in the order the calls came.
  std::vector<Call> Calls() const;
  void ClearCalls();
  // Whether the next calls succeed.
  void SetSucceed(bool succeed);

 private:
  bool Record(Call call);

  mutable std::mutex mutex_;
  std::vector<Call> calls_;
  bool succeed_ = true;
};

}  // namespace platform::os
