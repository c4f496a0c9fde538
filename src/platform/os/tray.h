#pragma once
// The program's icon in the desktop's tray (notification area). Where the desktop has no
// tray the icon simply does not appear and the program runs on without it.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

// What the user did on the icon; the numbers are the program's tray event kinds.
enum class TrayClick { Left = 1, Double = 2, Right = 3 };

struct TrayEvent {
  TrayClick click = TrayClick::Left;
  int x = 0;  // the pointer on the screen when it happened (where a menu opens)
  int y = 0;
};

class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // The picture (PNG, JPEG, BMP or GIF bytes); false, and the icon unchanged, when the bytes
  // are no picture.
  virtual bool SetIcon(std::string_view pictureBytes) = 0;
  // The tooltip (GB18030); only its first kTrayTipBytes bytes are used, cut between characters.
  virtual void SetToolTip(std::string_view tip) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  // Called for each click on the icon (a middle click reports nothing).
  virtual void SetClickHandler(std::function<void(const TrayEvent&)> handler) = 0;
};

constexpr std::size_t kTrayTipBytes = 62;

// Whether the desktop offers a tray at all (asked of the application object, which must exist).
bool IsTrayAvailable();

// A new icon, not yet shown: on the desktop's tray (the application object must exist), or
// whatever the factory that a test set makes.
std::unique_ptr<TrayIcon> CreateTrayIcon();
using TrayIconFactory = std::function<std::unique_ptr<TrayIcon>()>;
// An empty factory restores the desktop's icon.
void SetTrayIconFactory(TrayIconFactory factory);

// A fake that keeps what it was given; Click plays a click to the handler.
class RecordingTrayIcon : public TrayIcon {
 public:
  bool SetIcon(std::string_view pictureBytes) override;
  void SetToolTip(std::string_view tip) override;
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool IsVisible() const override { return visible; }
  void SetClickHandler(std::function<void(const TrayEvent&)> handler) override { this->handler = std::move(handler); }
  void Click(TrayClick click, int x = 0, int y = 0);

  std::string icon;     // the bytes last accepted
  std::string toolTip;  // as shown, after the cut
  bool visible = false;
  std::function<void(const TrayEvent&)> handler;
};

}  // namespace platform::os
