#pragma once
// Shared types of the window layer. Every text that crosses the layer is GB18030; colours
// are the program's colour values 0x00BBGGRR (red in the low byte); pictures are the bytes
// of a PNG, JPEG, BMP or GIF file ("no picture" when empty or undecodable).
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace platform::ui {

using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
  return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
constexpr int Red(Colour c) { return int(c & 0xFF); }
constexpr int Green(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int Blue(Colour c) { return int((c >> 16) & 0xFF); }

// A font by face name (GB18030, e.g. the Song face of the templates) and size in points.
struct Font {
  std::string name;
  int size = 9;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const Font&) const = default;
};

enum class UnitKind {
  Label,
  TransparentLabel,
  EditBox,
  RichEditBox,
  ComboBox,
  PictureBox,
  ShapeBox,
  PictureButton,
  DrawPanel,
  AnimationBox,
  Timer,
  Menu,
  MenuItem,
  FileDialog,
};

// Events a handler can be bound to, by (unit name, event).
enum class Event {
  Created,      // window: loaded, before it is first shown
  Destroying,   // window: about to close for good
  Moved,        // window: its position changed
  Clicked,      // buttons, labels, menu items
  DoubleClicked,
  LeftDown,     // x, y relative to the unit
  LeftUp,
  RightDown,
  RightUp,
  MouseMove,
  Wheel,        // delta: turn amount, 120 per notch, positive away from the user
  KeyDown,      // key: the key code (13 Enter, 27 Escape, ASCII letters upper case); set handled to swallow it
  FocusLost,
  TextChanged,  // edit boxes
  Changed,      // combo box: another item chosen
  Timer,        // timer: its interval elapsed
  ObjectEnter,  // animation box: the pointer entered object `objectId`
  ObjectLeave,
  ObjectLeftDown,   // the object under the pointer, 0 for none
  ObjectLeftUp,
  ObjectRightDown,
  ObjectRightUp,
  ObjectDoubleClicked,
};

struct EventArgs {
  int x = 0;
  int y = 0;
  int objectId = 0;
  int key = 0;
  int delta = 0;
  bool handled = false;
};

using Handler = std::function<void(EventArgs&)>;

// A template that cannot be built, or code that asks for a unit the template lacks. The
// message names the window and the unit.
class TemplateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace platform::ui
