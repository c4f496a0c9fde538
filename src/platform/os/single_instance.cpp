#include "platform/os/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QString>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

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
// In the program directory, beside its files, under names no person would choose.
constexpr char kLockName[] = ".workmemo.lock";
constexpr char kSocketName[] = ".workmemo.socket";

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

// An open descriptor of `folder` when it is a directory of this user's own, not a link, that
// no one else can write into (group and other write bits clear: an access list that lets
// anyone else write shows in the group bits); -1 otherwise. Only then can no one else put a
// file of ours, or one in its way, there. Its mode is left as the user chose it.
int OpenOwnFolder(const QString& folder) {
  const QByteArray path = QFile::encodeName(folder);
  Descriptor dir(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st{};
  if (dir.Get() < 0 || ::fstat(dir.Get(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
      (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
    return -1;
  return dir.Release();
}

// $XDG_RUNTIME_DIR when it is this user's alone; "" otherwise. A shared folder there would let
// another user put a socket of the right name in our way.
QString PrivateRuntimeDirectory() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (runtime.isEmpty() || !QDir::isAbsolutePath(runtime) || Descriptor(OpenOwnFolder(runtime)).Get() < 0) return {};
  return runtime;
}

bool FitsSocketAddress(const QString& path) {
  sockaddr_un address;
  return SocketAddress(QFile::encodeName(path), address);
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

// Asks the copy listening at the first of `places` that answers a connection to show itself;
// the index of that place when the copy said it would, else -1.
int AskRunningCopy(const std::vector<QString>& places) {
  if (places.empty()) return -1;
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    if (attempt > 0) QThread::msleep(kAttemptPauseMs);
    for (std::size_t at = 0; at < places.size(); ++at) {
      sockaddr_un address;
      if (!SocketAddress(QFile::encodeName(places[at]), address)) continue;
      Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
      if (socket.Get() < 0) return -1;
      if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) continue;
      if (!WaitFor(socket.Get(), POLLOUT, kAnswerTimeoutMs) ||
          ::send(socket.Get(), kShowRequest.data(), kShowRequest.size(), MSG_NOSIGNAL) !=
              static_cast<ssize_t>(kShowRequest.size()))
        return -1;
      std::string answer;
      char block[16];
      while (answer.find('\n') == std::string::npos && WaitFor(socket.Get(), POLLIN, kAnswerTimeoutMs)) {
        const ssize_t n = ::recv(socket.Get(), block, sizeof block, 0);
        if (n <= 0) break;
        answer.append(block, static_cast<std::size_t>(n));
      }
      return answer == kShowAnswer ? static_cast<int>(at) : -1;
    }
  }
  return -1;
}

}  // namespace

struct SingleInstance::Impl {
  Descriptor directory;  // the checked program directory until the lock is taken; -1 when unfit
  QString lockPath;
  // Where the socket may be, in the order both the first copy and a later one try them.
  std::vector<QString> socketPlaces;
  QString socketPath;  // the one listened on, or through which the running copy answered
  Descriptor lock;  // the lock file, locked for the life of this copy
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
    for (const QString& place : socketPlaces) {
      if (ListenAt(place)) {
        socketPath = place;
        return;
      }
    }
  }

  // Some network file systems refuse a socket file: false, and the next place is tried.
  bool ListenAt(const QString& place) {
    const QByteArray path = QFile::encodeName(place);
    sockaddr_un address;
    if (!SocketAddress(path, address)) return false;
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.Get() < 0) return false;
    // The socket file of a copy that died stays behind; the lock says it is ours now.
    ::unlink(path.constData());
    // Only this user may ask: the file is made without access for others.
    const mode_t mask = ::umask(0077);
    const bool bound = ::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound) return false;
    if (::listen(socket.Get(), 8) != 0) {
      ::unlink(path.constData());
      return false;
    }
    listener.Reset(socket.Release());
    accepting = std::make_unique<QSocketNotifier>(listener.Get(), QSocketNotifier::Read);
    QObject::connect(accepting.get(), &QSocketNotifier::activated, [this] { Accept(); });
    return true;
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
  impl_->directory.Reset(OpenOwnFolder(canonical));
  impl_->lockPath = canonical + QLatin1Char('/') + QLatin1String(kLockName);
  const QString beside = canonical + QLatin1Char('/') + QLatin1String(kSocketName);
  if (FitsSocketAddress(beside)) impl_->socketPlaces.push_back(beside);
  if (const QString runtime = PrivateRuntimeDirectory(); !runtime.isEmpty()) {
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QString named = runtime + QStringLiteral("/workmemo-") + key + QStringLiteral(".socket");
    if (FitsSocketAddress(named)) impl_->socketPlaces.push_back(named);
  }
}

SingleInstance::~SingleInstance() {
  // The socket file goes while the lock is still held: a copy that takes the lock next may
  // already listen under the same name.
  impl_->Close();
  impl_->lock.Reset();
}

SingleInstance::Result SingleInstance::Acquire() {
  // The lock file is made outside platform::files; a write fault of its tests stops it too.
  if (impl_->directory.Get() < 0 || files::ShouldFailForTest(files::Op::Write)) return Result::Failed;
  // Opened in the checked directory, never through a link, the user's alone (0600) as the
  // program's other files are, and not handed to the programs this copy starts; a pipe of
  // that name does not hold the start up. The file is never removed: a copy between its open
  // and its lock would lock a file no longer there, beside a copy locking a new one.
  impl_->lock.Reset(::openat(impl_->directory.Get(), kLockName,
                             O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, files::kPrivateFileMode));
  impl_->directory.Reset();
  struct stat st{};
  if (impl_->lock.Get() < 0 || ::fstat(impl_->lock.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    impl_->lock.Reset();
    return Result::Failed;
  }
  int locked = -1;
  do {
    locked = ::flock(impl_->lock.Get(), LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked == 0) {
    impl_->Listen();
    return Result::First;
  }
  const bool held = errno == EWOULDBLOCK;
  impl_->lock.Reset();
  if (!held) return Result::Failed;  // a file system without locks keeps no second copy off
  const int at = AskRunningCopy(impl_->socketPlaces);
  if (at < 0) return Result::NoAnswer;
  impl_->socketPath = impl_->socketPlaces[at];
  return Result::AnotherCopy;
}

void SingleInstance::SetShowRequestHandler(std::function<void()> handler) { impl_->handler = std::move(handler); }

std::string SingleInstance::LockFilePath() const { return impl_->lockPath.toStdString(); }
std::string SingleInstance::SocketPath() const { return impl_->socketPath.toStdString(); }

}  // namespace platform::os
