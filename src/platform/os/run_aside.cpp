#include "platform/os/run_aside.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform::os {

namespace {

// Where threads hand their results to the window thread. A thread may still be working (or
// stuck) when the application object goes, so it looks at the receiver under the lock, and
// finds none from then on.
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

bool RunAside(std::function<void()> work, std::function<void()> done) {
  std::shared_ptr<HandOver> handOver = CurrentHandOver();
  if (handOver == nullptr) return false;
  try {
    std::thread([handOver, work = std::move(work), done = std::move(done)]() mutable {
      work();
      std::lock_guard<std::mutex> lock(handOver->mutex);
      if (handOver->receiver == nullptr) return;
      QMetaObject::invokeMethod(handOver->receiver, std::move(done), Qt::QueuedConnection);
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

}  // namespace platform::os
