#include "platform/os/tray.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>

#include "platform/image/image.h"
#include "platform/image/qimage_bridge.h"
#include "platform/text/text.h"

namespace platform::os {

namespace {

std::string CutTip(std::string_view tip) { return std::string(tip.substr(0, text::CutPoint(tip, kTrayTipBytes))); }

class DesktopTrayIcon : public TrayIcon {
 public:
  DesktopTrayIcon() {
    // A child of the application object, so that it never outlives it.
    icon_ = new QSystemTrayIcon(QCoreApplication::instance());
    QObject::connect(icon_, &QSystemTrayIcon::activated, icon_,
                     [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
  }
  ~DesktopTrayIcon() override { delete icon_.data(); }

  bool SetIcon(std::string_view pictureBytes) override {
    const QImage picture = image::DecodeToQImage(pictureBytes);
    if (picture.isNull() || !icon_) return false;
    icon_->setIcon(QIcon(QPixmap::fromImage(picture)));
    return true;
  }
  void SetToolTip(std::string_view tip) override {
    if (icon_) icon_->setToolTip(QString::fromStdString(text::ToUtf8(CutTip(tip))));
  }
  void Show() override {
    if (icon_) icon_->show();
  }
  void Hide() override {
    if (icon_) icon_->hide();
  }
  bool IsVisible() const override { return icon_ && icon_->isVisible(); }
  void SetClickHandler(std::function<void(const TrayEvent&)> handler) override { handler_ = std::move(handler); }

 private:
  void OnActivated(QSystemTrayIcon::ActivationReason reason) {
    TrayEvent event;
    switch (reason) {
      case QSystemTrayIcon::Trigger: event.click = TrayClick::Left; break;
      case QSystemTrayIcon::DoubleClick: event.click = TrayClick::Double; break;
      case QSystemTrayIcon::Context: event.click = TrayClick::Right; break;
      default: return;
    }
    const QPoint pointer = QCursor::pos();
    event.x = pointer.x();
    event.y = pointer.y();
    if (handler_) handler_(event);
  }

  QPointer<QSystemTrayIcon> icon_;
  std::function<void(const TrayEvent&)> handler_;
};

TrayIconFactory g_factory;

}  // namespace

bool IsTrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

std::unique_ptr<TrayIcon> CreateTrayIcon() {
  if (g_factory) return g_factory();
  return std::make_unique<DesktopTrayIcon>();
}

void SetTrayIconFactory(TrayIconFactory factory) { g_factory = std::move(factory); }

bool RecordingTrayIcon::SetIcon(std::string_view pictureBytes) {
  if (image::Decode(pictureBytes).empty()) return false;
  icon.assign(pictureBytes);
  return true;
}

void RecordingTrayIcon::SetToolTip(std::string_view tip) { toolTip = CutTip(tip); }

void RecordingTrayIcon::Click(TrayClick click, int x, int y) {
  if (handler) handler(TrayEvent{click, x, y});
}

}  // namespace platform::os
