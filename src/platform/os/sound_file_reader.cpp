#include "platform/os/sound_file_reader.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/files/files.h"
#include "platform/os/sound.h"

namespace platform::os {

namespace {

// Where reading threads hand their results to the window thread. A thread may still be
// reading (or stuck) when the application object goes, so it looks at the receiver under
// the lock, and finds none from then on.
struct HandOver {
  std::mutex mutex;
  QObject* receiver = nullptr;
};

// A child of the application object, in the window thread.
class Receiver : public QObject {
 public:
  explicit Receiver(std::shared_ptr<HandOver> handOver)
      : QObject(QCoreApplication::instance()), handOver_(std::move(handOver)) {
    std::lock_guard<std::mutex> lock(handOver_->mutex);
    handOver_->receiver = this;
  }
  ~Receiver() override {
    std::lock_guard<std::mutex> lock(handOver_->mutex);
    handOver_->receiver = nullptr;
  }

 private:
  std::shared_ptr<HandOver> handOver_;
};

// The hand-over of the application object in place; null without one.
std::shared_ptr<HandOver> CurrentHandOver() {
  static std::shared_ptr<HandOver> handOver;
  static QPointer<Receiver> receiver;
  if (QCoreApplication::instance() == nullptr) return nullptr;
  if (receiver.isNull()) {
    handOver = std::make_shared<HandOver>();
    receiver = new Receiver(handOver);
  }
  return handOver;
}

}  // namespace

std::optional<std::string> ReadSoundFile(std::string_view path) {
  return files::ReadAll(path, kSoundFileLimit);
}

void ReadSoundFileAside(std::string path, std::function<void(std::optional<std::string>)> done) {
  std::shared_ptr<HandOver> handOver = CurrentHandOver();
  if (handOver == nullptr) return;
  try {
    // Detached: a thread stuck on a hung mount must not hold up the end of the program.
    std::thread([handOver, path = std::move(path), done = std::move(done)]() mutable {
      auto bytes = std::make_shared<std::optional<std::string>>(ReadSoundFile(path));
      std::lock_guard<std::mutex> lock(handOver->mutex);
      if (handOver->receiver == nullptr) return;
      QMetaObject::invokeMethod(
          handOver->receiver, [done = std::move(done), bytes] { done(std::move(*bytes)); }, Qt::QueuedConnection);
    }).detach();
  } catch (const std::system_error&) {
    // No thread to read on: no sound, as for a file that cannot be read.
  }
}

}  // namespace platform::os
