#include "platform/os/tray.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSystemTrayIcon>

#include <cstdlib>
#include <optional>

#include "platform/image/image.h"
#include "platform/text/text.h"

namespace {

using platform::os::TrayClick;
using platform::os::TrayEvent;

std::string Png() {
  platform::image::Image picture;
  picture.width = picture.height = 16;
  picture.pixels.assign(256, 0xFF20A040u);
  return platform::image::EncodePng(picture);
}

// "a" and four times the product title: 65 bytes, whose 62nd byte is inside a character.
std::string LongTip() {
  return platform::text::FromUtf8("a枫汀阁工作备忘录枫汀阁工作备忘录枫汀阁工作备忘录枫汀阁工作备忘录");
}

TEST(TrayFakeTest, ATestFactoryMakesTheIconsUntilItIsCleared) {
  platform::os::RecordingTrayIcon* made = nullptr;
  platform::os::SetTrayIconFactory([&] {
    auto icon = std::make_unique<platform::os::RecordingTrayIcon>();
    made = icon.get();
    return icon;
  });
  std::unique_ptr<platform::os::TrayIcon> icon = platform::os::CreateTrayIcon();
  platform::os::SetTrayIconFactory({});
  ASSERT_EQ(icon.get(), made);

  EXPECT_FALSE(icon->SetIcon("not a picture"));
  EXPECT_TRUE(icon->SetIcon(Png()));
  icon->SetToolTip(LongTip());
  EXPECT_EQ(made->toolTip.size(), 61u);
  std::optional<TrayEvent> seen;
  icon->SetClickHandler([&](const TrayEvent& e) { seen = e; });
  made->Click(TrayClick::Right, 100, 200);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->click, TrayClick::Right);
  EXPECT_EQ(seen->x, 100);
  EXPECT_EQ(seen->y, 200);
}

// The desktop's icon, on the offscreen platform: whether a tray exists there or not, the
// icon takes its picture and tip, and reports the clicks the toolkit sees.
class DesktopTrayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (QCoreApplication::instance() == nullptr) app_ = new QApplication(argc_, argv_);
  }
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
  }

  static QSystemTrayIcon* ToolkitIcon() {
    const auto icons = QCoreApplication::instance()->findChildren<QSystemTrayIcon*>();
    return icons.size() == 1 ? icons.front() : nullptr;
  }

 private:
  static inline int argc_ = 1;
  static inline char name_[] = "tray_test";
  static inline char* argv_[] = {name_, nullptr};
  static inline QApplication* app_ = nullptr;
};

TEST_F(DesktopTrayTest, PictureTipAndClicksReachTheToolkitIcon) {
  (void)platform::os::IsTrayAvailable();  // answers on a desktop without a tray too
  std::unique_ptr<platform::os::TrayIcon> icon = platform::os::CreateTrayIcon();
  QSystemTrayIcon* toolkit = ToolkitIcon();
  ASSERT_NE(toolkit, nullptr);

  EXPECT_FALSE(icon->SetIcon(""));
  EXPECT_TRUE(toolkit->icon().isNull());
  EXPECT_TRUE(icon->SetIcon(Png()));
  EXPECT_FALSE(toolkit->icon().isNull());
  icon->SetToolTip(LongTip());
  const std::string tip = LongTip();
  EXPECT_EQ(toolkit->toolTip().toStdString(), platform::text::ToUtf8(tip.substr(0, 61)));
  icon->Show();
  icon->Hide();
  EXPECT_FALSE(icon->IsVisible());

  std::vector<TrayClick> seen;
  icon->SetClickHandler([&](const TrayEvent& e) { seen.push_back(e.click); });
  for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
                      QSystemTrayIcon::MiddleClick}) {
    emit toolkit->activated(reason);
  }
  EXPECT_EQ(seen, (std::vector<TrayClick>{TrayClick::Left, TrayClick::Double, TrayClick::Right}));

  icon.reset();
  EXPECT_EQ(ToolkitIcon(), nullptr);
}

}  // namespace
