#include "platform/os/shell_open.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <memory>

#include "platform/os/run_aside.h"
#include "platform/text/text.h"

namespace platform::os {

namespace {

class DesktopShellOpener : public ShellOpener {
 public:
  bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& workingDirectory) override {
    QStringList args;
    for (const std::string& a : arguments) args << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), args, QString::fromStdString(workingDirectory));
  }
  bool OpenUrl(const std::string& url) override {
    // The desktop services find their launcher on first use, unguarded: one URL at a time.
    std::lock_guard<std::mutex> lock(mutex_);
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
  }

 private:
  std::mutex mutex_;
};

// Never destroyed: an opening thread stuck on a hung mount may still reach it at the end.
DesktopShellOpener& g_desktop = *new DesktopShellOpener;
ShellOpener* g_opener = nullptr;
int g_opensInFlight = 0;  // begun and not yet handed back; the window thread's alone

int Result(bool ok) { return ok ? kShellOpened : kShellFailed; }

// The whole open of one trimmed target (UTF-8), on the opening thread.
int Open(ShellOpener& opener, const QString& text) {
  if (text.isEmpty()) return kShellFileNotFound;
  // A scheme of two or more letters: a single letter before ':' would be a drive. One
  // expression per call: several threads may be opening at once.
  const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(text).hasMatch()) {
    const QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid()) return kShellFileNotFound;
    return Result(opener.OpenUrl(url.toString(QUrl::FullyEncoded).toStdString()));
  }
  if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)) {
    const QUrl url(QStringLiteral("http://") + text, QUrl::TolerantMode);
    return Result(opener.OpenUrl(url.toString(QUrl::FullyEncoded).toStdString()));
  }
  const ShellOpener::FileFound file = opener.FindFile(text.toStdString());
  if (!file.exists) return kShellFileNotFound;
  if (file.executable) return Result(opener.StartProgram(file.path, {}, file.folder));
  return Result(opener.OpenUrl(
      QUrl::fromLocalFile(QString::fromStdString(file.path)).toString(QUrl::FullyEncoded).toStdString()));
}

}  // namespace

ShellOpener::FileFound ShellOpener::FindFile(const std::string& path) {
  const QFileInfo file(QString::fromStdString(path));
  FileFound found;
  found.exists = file.exists();
  if (!found.exists) return found;
  found.executable = file.isFile() && file.isExecutable();
  found.path = file.absoluteFilePath().toStdString();
  found.folder = file.absoluteDir().path().toStdString();
  return found;
}

ShellOpener& CurrentShellOpener() { return g_opener != nullptr ? *g_opener : g_desktop; }
void SetShellOpener(ShellOpener* opener) { g_opener = opener; }

void OpenWithShell(std::uint64_t, std::string_view target, std::function<void(int)> done) {
  const QString text = QString::fromStdString(platform::text::ToUtf8(target)).trimmed();
  ShellOpener* opener = &CurrentShellOpener();
  auto result = std::make_shared<int>(kShellFailed);
  auto report = [text](int code) {
    if (code <= 32) std::fprintf(stderr, "workmemo: cannot open %s (%d)\n", text.toUtf8().constData(), code);
  };
  const bool begun = RunAside([opener, text, result] { *result = Open(*opener, text); },
                              [result, report, done = std::move(done)] {
                                report(*result);
                                if (done) done(*result);
                                --g_opensInFlight;
                              });
  if (begun)
    ++g_opensInFlight;
  else
    report(kShellFailed);  // no thread to open on
}

bool WaitForShellOpensForTest(std::chrono::milliseconds patience) {
  if (g_opensInFlight == 0) return true;
  const QDeadlineTimer deadline(patience);
  QTimer wake;  // a hand-over wakes the loop; this wakes it to look at the time as well
  wake.start(20);
  while (g_opensInFlight > 0 && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return g_opensInFlight == 0;
}

std::vector<RecordingShellOpener::Call> RecordingShellOpener::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

void RecordingShellOpener::ClearCalls() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}

void RecordingShellOpener::SetSucceed(bool succeed) {
  std::lock_guard<std::mutex> lock(mutex_);
  succeed_ = succeed;
}

bool RecordingShellOpener::Record(Call call) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(std::move(call));
  return succeed_;
}

bool RecordingShellOpener::StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                                        const std::string& workingDirectory) {
  return Record({true, program, arguments, workingDirectory});
}

bool RecordingShellOpener::OpenUrl(const std::string& url) { return Record({false, url, {}, {}}); }

}  // namespace platform::os
