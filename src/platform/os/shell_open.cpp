#include "platform/os/shell_open.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

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
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
  }
};

DesktopShellOpener g_desktop;
ShellOpener* g_opener = nullptr;

int Result(bool ok) { return ok ? kShellOpened : kShellFailed; }

}  // namespace

ShellOpener& CurrentShellOpener() { return g_opener != nullptr ? *g_opener : g_desktop; }
void SetShellOpener(ShellOpener* opener) { g_opener = opener; }

int OpenWithShell(std::uint64_t, std::string_view target) {
  const QString text = QString::fromStdString(platform::text::ToUtf8(target)).trimmed();
  if (text.isEmpty()) return kShellFileNotFound;
  ShellOpener& opener = CurrentShellOpener();
  // A scheme of two or more letters: a single letter before ':' would be a drive.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(text).hasMatch()) {
    const QUrl url(text, QUrl::TolerantMode);
    if (!url.isValid()) return kShellFileNotFound;
    return Result(opener.OpenUrl(url.toString(QUrl::FullyEncoded).toStdString()));
  }
  if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)) {
    const QUrl url(QStringLiteral("http://") + text, QUrl::TolerantMode);
    return Result(opener.OpenUrl(url.toString(QUrl::FullyEncoded).toStdString()));
  }
  const QFileInfo file(text);
  if (!file.exists()) return kShellFileNotFound;
  if (file.isFile() && file.isExecutable()) {
    return Result(opener.StartProgram(file.absoluteFilePath().toStdString(), {},
                                      file.absoluteDir().path().toStdString()));
  }
  return Result(opener.OpenUrl(QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded).toStdString()));
}

bool RecordingShellOpener::StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                                        const std::string& workingDirectory) {
  calls.push_back({true, program, arguments, workingDirectory});
  return succeed;
}

bool RecordingShellOpener::OpenUrl(const std::string& url) {
  calls.push_back({false, url, {}, {}});
  return succeed;
}

}  // namespace platform::os
