#pragma once
// Opening a program, a document or a web address as the desktop would.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

// Where OpenWithShell sends its work; tests put a RecordingShellOpener in place.
class ShellOpener {
 public:
  virtual ~ShellOpener() = default;
  // Starts `program` detached with this argument vector (never through a shell), in
  // `workingDirectory`. Paths and arguments are UTF-8 here.
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingDirectory) = 0;
  // Hands a URL (file:// for a document) to the desktop's opener.
  virtual bool OpenUrl(const std::string& url) = 0;
};

// The opener in use: the desktop's, unless a test set another.
ShellOpener& CurrentShellOpener();
// Puts `opener` in place (nullptr restores the desktop's); the caller keeps it alive.
void SetShellOpener(ShellOpener* opener);

// The result codes of OpenWithShell: above 32 means done.
constexpr int kShellOpened = 42;
constexpr int kShellFileNotFound = 2;
constexpr int kShellFailed = 31;

// Opens `target` (GB18030): an executable file starts as a program with no arguments in
// its own folder; another existing file opens in the program the desktop gives its type;
// an address with a scheme ("http://...", "mailto:...") or starting with "www." goes to
// the opener. A target that is none of these opens nothing and answers kShellFileNotFound.
// `window` (the caller's window id, 0 for none) is accepted for the callers' sake.
int OpenWithShell(std::uint64_t window, std::string_view target);

// A fake that records what would have been opened.
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
  std::vector<Call> calls;
  bool succeed = true;
};

}  // namespace platform::os
