#include "platform/os/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSocketNotifier>
#include <QString>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include "platform/files/files.h"
#include "platform/text/text.h"

namespace platform::os {

namespace {

// The socket is a plain local stream socket: the lines below are all that passes over it.
constexpr std::string_view kShowRequest = "show\n";
constexpr std::string_view kShowAnswer = "ok\n";
constexpr std::size_t kMaxRequestBytes = 64;
// A first copy may hold the lock a moment before it listens; a later copy keeps trying
// this long before it gives up on an answer.
constexpr int kConnectAttempts = 30;
constexpr int kAttemptPauseMs = 100;
constexpr int kAnswerTimeoutMs = 3000;

QString CanonicalDirectory(std::string_view programDirectory) {
  const QString dir = QString::fromStdString(text::ToUtf8(programDirectory));
  files::MakeDirs(programDirectory);
  const QString canonical = QFileInfo(dir).canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(dir).absoluteFilePath()) : canonical;
}

// The address of the socket file; false when the path is too long for one.
bool SocketAddress(const QByteArray& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
  return true;
}

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// Makes the folder 0700 when missing and says whether it is this user's alone. In a shared
// directory another user may have made it first, or put a link there: such a one is not used.
bool MakePrivateFolder(const QString& folder) {
  const QByteArray path = QFile::encodeName(folder);
  if (::mkdir(path.constData(), files::kPrivateDirectoryMode) != 0 && errno != EEXIST) return false;
  Descriptor dir(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st{};
  if (dir.Get() < 0 || ::fstat(dir.Get(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
  return (st.st_mode & 077) == 0 || ::fchmod(dir.Get(), files::kPrivateDirectoryMode) == 0;
}

// $XDG_RUNTIME_DIR, which the session made for this user alone; without one, a folder of the
// user's own below the temporary directory, never the shared directory itself, where another
// user could take the lock first. `usable` is false when that folder is not this user's.
QString RuntimeDirectory(bool& usable) {
  usable = true;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) return runtime;
  const QString own = QDir::tempPath() + QStringLiteral("/workmemo-") + QString::number(::geteuid());
  usable = MakePrivateFolder(own);
  return own;
}

// Waits up to `timeoutMs` for `fd` to be ready for `events`.
bool WaitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  int n = 0;
  do {
    n = ::poll(&p, 1, timeoutMs);
  } while (n < 0 && errno == EINTR);
  return n > 0;
}

// Asks the copy listening at `socketPath` to show itself; true when it said it would.
bool AskRunningCopy(const QByteArray& socketPath) {
  sockaddr_un address;
  if (!SocketAddress(socketPath, address)) return false;
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    if (attempt > 0) QThread::msleep(kAttemptPauseMs);
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0) return false;
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) continue;
    if (!WaitFor(socket.Get(), POLLOUT, kAnswerTimeoutMs) ||
        ::send(socket.Get(), kShowRequest.data(), kShowRequest.size(), MSG_NOSIGNAL) !=
            static_cast<ssize_t>(kShowRequest.size()))
      return false;
    std::string answer;
    char block[16];
    while (answer.find('\n') == std::string::npos && WaitFor(socket.Get(), POLLIN, kAnswerTimeoutMs)) {
      const ssize_t n = ::recv(socket.Get(), block, sizeof block, 0);
      if (n <= 0) break;
      answer.append(block, static_cast<std::size_t>(n));
    }
    return answer == kShowAnswer;
  }
  return false;
}

}  // namespace

struct SingleInstance::Impl {
  QString lockPath;
  QString socketPath;
  bool runtimeUsable = false;
  std::unique_ptr<QLockFile> lock;
  Descriptor listener;
  std::unique_ptr<QSocketNotifier> accepting;
  // The later copies connected now, each with what it has sent so far.
  struct Caller {
    Descriptor socket;
    QSocketNotifier* reading = nullptr;  // let go with deleteLater: it may be in its own signal
    std::string received;
  };
  std::map<int, Caller> callers;
  std::function<void()> handler;

  void Listen() {
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address;
    if (!SocketAddress(path, address)) return;
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.Get() < 0) return;
    // The socket file of a copy that died stays behind; the lock says it is ours now.
    ::unlink(path.constData());
    // Only this user may ask: the file is made without access for others.
    const mode_t mask = ::umask(0077);
    const bool bound = ::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(socket.Get(), 8) != 0) return;
    listener.Reset(socket.Release());
    accepting = std::make_unique<QSocketNotifier>(listener.Get(), QSocketNotifier::Read);
    QObject::connect(accepting.get(), &QSocketNotifier::activated, [this] { Accept(); });
  }

  void Accept() {
    for (;;) {
      const int fd = ::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) return;
      Caller& caller = callers[fd];
      caller.socket.Reset(fd);
      caller.reading = new QSocketNotifier(fd, QSocketNotifier::Read);
      QObject::connect(caller.reading, &QSocketNotifier::activated, caller.reading, [this, fd] { Read(fd); });
    }
  }

  void Read(int fd) {
    auto it = callers.find(fd);
    if (it == callers.end()) return;
    Caller& caller = it->second;
    char block[kMaxRequestBytes];
    const ssize_t n = ::recv(fd, block, sizeof block, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n > 0) caller.received.append(block, static_cast<std::size_t>(n));
    const bool lineComplete = caller.received.find('\n') != std::string::npos;
    if (!lineComplete && n > 0 && caller.received.size() <= kMaxRequestBytes) return;
    const bool asked = caller.received == kShowRequest;
    if (asked) ::send(fd, kShowAnswer.data(), kShowAnswer.size(), MSG_NOSIGNAL);
    Drop(it);
    // The answer is sent and the caller let go first: the handler may run an event loop.
    if (asked && handler) handler();
  }

  // From within its notifier's signal the notifier goes later, else at once.
  void Drop(std::map<int, Caller>::iterator it, bool inItsSignal = true) {
    it->second.reading->setEnabled(false);
    if (inItsSignal) it->second.reading->deleteLater();
    else delete it->second.reading;
    callers.erase(it);
  }

  void Close() {
    while (!callers.empty()) Drop(callers.begin(), false);
    accepting.reset();
    if (listener.Get() >= 0) {
      listener.Reset();
      ::unlink(QFile::encodeName(socketPath).constData());
    }
  }
};

SingleInstance::SingleInstance(std::string_view programDirectory) : impl_(std::make_unique<Impl>()) {
  const QString canonical = CanonicalDirectory(programDirectory);
  const QString key = QString::fromLatin1(
      QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
  const QString base = RuntimeDirectory(impl_->runtimeUsable) + QStringLiteral("/workmemo-") + key;
  impl_->lockPath = base + QStringLiteral(".lock");
  impl_->socketPath = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
  impl_->Close();  // removes the socket file
  if (impl_->lock) impl_->lock->unlock();
}

SingleInstance::Result SingleInstance::Acquire() {
  if (!impl_->runtimeUsable) return Result::Failed;
  impl_->lock = std::make_unique<QLockFile>(impl_->lockPath);
  // Held for the life of the process: never stale by age, only when its owner is gone.
  impl_->lock->setStaleLockTime(0);
  if (impl_->lock->tryLock(0)) {
    impl_->Listen();
    return Result::First;
  }
  if (impl_->lock->error() != QLockFile::LockFailedError) return Result::Failed;
  AskRunningCopy(QFile::encodeName(impl_->socketPath));
  return Result::AnotherCopy;
}

void SingleInstance::SetShowRequestHandler(std::function<void()> handler) { impl_->handler = std::move(handler); }

std::string SingleInstance::LockFilePath() const { return impl_->lockPath.toStdString(); }
std::string SingleInstance::SocketPath() const { return impl_->socketPath.toStdString(); }

}  // namespace platform::os
