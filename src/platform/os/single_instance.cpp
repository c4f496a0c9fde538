#include "platform/os/single_instance.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QString>
#include <QThread>

#include "platform/text/text.h"

namespace platform::os {

namespace {

constexpr QByteArrayView kShowRequest = "show\n";
constexpr QByteArrayView kShowAnswer = "ok\n";
constexpr int kMaxRequestBytes = 64;
// A first copy may hold the lock a moment before it listens; a later copy keeps trying
// this long before it gives up on an answer.
constexpr int kConnectAttempts = 30;
constexpr int kAttemptPauseMs = 100;
constexpr int kAnswerTimeoutMs = 3000;

QString RuntimeDirectory() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) return runtime;
  return QDir::tempPath();
}

QString CanonicalDirectory(std::string_view programDirectory) {
  const QString dir = QString::fromStdString(text::ToUtf8(programDirectory));
  QDir().mkpath(dir);
  const QString canonical = QFileInfo(dir).canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(dir).absoluteFilePath()) : canonical;
}

// Asks the copy listening at `socketPath` to show itself; true when it said it would.
bool AskRunningCopy(const QString& socketPath) {
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    if (attempt > 0) QThread::msleep(kAttemptPauseMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kAttemptPauseMs)) continue;
    socket.write(kShowRequest.data(), kShowRequest.size());
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs)) return false;
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(kAnswerTimeoutMs)) answer += socket.readAll();
    return answer == kShowAnswer;
  }
  return false;
}

}  // namespace

struct SingleInstance::Impl {
  QString lockPath;
  QString socketPath;
  std::unique_ptr<QLockFile> lock;
  std::unique_ptr<QLocalServer> server;
  std::function<void()> handler;

  void Listen() {
    server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // The socket file of a copy that died stays behind; the lock says it is ours now.
    QLocalServer::removeServer(socketPath);
    if (!server->listen(socketPath)) return;
    QObject::connect(server.get(), &QLocalServer::newConnection, server.get(), [this] { Accept(); });
  }

  void Accept() {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Read(socket); });
      if (socket->bytesAvailable() > 0) Read(socket);
    }
  }

  void Read(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
      if (socket->bytesAvailable() > kMaxRequestBytes) socket->abort();
      return;
    }
    const QByteArray line = socket->readLine(kMaxRequestBytes);
    if (line == kShowRequest) {
      socket->write(kShowAnswer.data(), kShowAnswer.size());
      socket->flush();
      QPointer<QLocalSocket> alive(socket);
      if (handler) handler();
      if (alive) alive->disconnectFromServer();
    } else {
      socket->abort();
    }
  }
};

SingleInstance::SingleInstance(std::string_view programDirectory) : impl_(std::make_unique<Impl>()) {
  const QString canonical = CanonicalDirectory(programDirectory);
  const QString key = QString::fromLatin1(
      QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
  const QString base = RuntimeDirectory() + QStringLiteral("/workmemo-") + key;
  impl_->lockPath = base + QStringLiteral(".lock");
  impl_->socketPath = base + QStringLiteral(".socket");
}

SingleInstance::~SingleInstance() {
  if (impl_->server) impl_->server->close();  // removes the socket file
  impl_->server.reset();
  if (impl_->lock) impl_->lock->unlock();
}

SingleInstance::Result SingleInstance::Acquire() {
  impl_->lock = std::make_unique<QLockFile>(impl_->lockPath);
  // Held for the life of the process: never stale by age, only when its owner is gone.
  impl_->lock->setStaleLockTime(0);
  if (impl_->lock->tryLock(0)) {
    impl_->Listen();
    return Result::First;
  }
  if (impl_->lock->error() != QLockFile::LockFailedError) return Result::Failed;
  AskRunningCopy(impl_->socketPath);
  return Result::AnotherCopy;
}

void SingleInstance::SetShowRequestHandler(std::function<void()> handler) { impl_->handler = std::move(handler); }

std::string SingleInstance::LockFilePath() const { return impl_->lockPath.toStdString(); }
std::string SingleInstance::SocketPath() const { return impl_->socketPath.toStdString(); }

}  // namespace platform::os
