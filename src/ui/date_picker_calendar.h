#pragma once
// The drop-down date picker: a small month calendar on a draw panel that turns clicks into
// a date. All of its decisions are plain logic over PickerPanel, so they run without a window;
// DrawPanelPickerPanel puts it on a real draw panel.
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform::ui {
class DrawPanel;
}

namespace workmemo {

// Colour values red + green * 256 + blue * 65536.
using PickerColour = std::uint32_t;
constexpr PickerColour PickerRgb(int r, int g, int b) {
  return PickerColour(r & 0xFF) | (PickerColour(g & 0xFF) << 8) | (PickerColour(b & 0xFF) << 16);
}

// The drawing calls the picker makes on a panel.
class PickerPanel {
 public:
  virtual ~PickerPanel() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void Clear() = 0;  // the whole panel in its background colour
  virtual void SetPenColour(PickerColour colour) = 0;
  virtual void SetTextColour(PickerColour colour) = 0;
  virtual void SetFontSize(int points) = 0;
  virtual int TextWidth(std::string_view text) const = 0;
  virtual int TextHeight(std::string_view text) const = 0;
  virtual void DrawText(int x, int y, std::string_view text) = 0;
  virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
  // Three colours run across the rectangle, top to bottom.
  virtual void GradientFill(int x, int y, int width, int height, PickerColour first,
                            PickerColour middle, PickerColour last) = 0;
  // Copies (sx, sy, width, height) of source to (dx, dy) of this panel.
  virtual void CopyFrom(const PickerPanel& source, int sx, int sy, int width, int height, int dx,
                        int dy) = 0;
};

// Where the grid lies on the panel, in pixels. The defaults are those every window passes.
struct PickerGeometry {
  int gridLeft = 5;
  int gridTop = 30;
  int weekdayRowHeight = 18;
  int cellWidth = 38;
  int cellHeight = 28;
};

// Panels of that geometry are this size; the header's hit boxes are laid out for it.
inline constexpr int kPickerPanelWidth = 286;
inline constexpr int kPickerPanelHeight = 233;

enum class PickerClick { Close = -1, None = 0, Day = 1 };

class DatePickerCalendar {
 public:
  // The panel the user sees and a same-sized one that keeps the month without marks.
  void Bind(PickerPanel& drawing, PickerPanel& backing);
  // Draws the month; without a year it shows today (month and day are then ignored). A
  // marked day outside the month marks nothing and leaves MarkedDay as it was.
  void DrawMonth(std::optional<int> year, int month, int day, int markedDay,
                 const PickerGeometry& geometry = {});
  // Day: a click in the grid, date written (the marked day, or today's day when none is
  // marked, at the current time of day). Close: the close mark. None: anything else; an
  // arrow click shows another year or month.
  PickerClick HandleClick(int x, int y, double& date);
  void HandleMouseMove(int x, int y);

  int ShownYear() const { return Year; }
  int ShownMonth() const { return Month; }
  int ShownDay() const { return Day; }

  int GridTop = 0;
  int GridLeft = 0;
  int WeekdayRowHeight = 0;
  int CellWidth = 0;
  int CellHeight = 0;
  int FirstWeekday = 0;  // column of day 1, 0 = Sunday
  int MonthLength = 0;
  int HoverMarkDay = 0;
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int MarkedDay = 0;
  PickerPanel* DrawingPanel = nullptr;
  PickerPanel* BackingPanel = nullptr;
  int LastPointerDay = 0;  // may lie outside the month; 0 after the pointer left the grid

 private:
  // The day under (x, y) when the point lies in the grid (seven rows tall, one more than
  // drawn); the day may lie outside 1..MonthLength.
  std::optional<int> DayAt(int x, int y) const;
  bool InMonth(int day) const { return day >= 1 && day <= MonthLength; }
  void RestoreCell(int day);
  void DrawMark(int day, bool chosen);
  void DrawDayText(PickerPanel& panel, int day);
  int CellLeft(int day) const;
  int CellTop(int day) const;
  void Redraw();
};

// A window's draw panel as a picker panel. Copies only go between panels of this kind.
class DrawPanelPickerPanel : public PickerPanel {
 public:
  explicit DrawPanelPickerPanel(platform::ui::DrawPanel& panel) : panel_(panel) {}
  int Width() const override;
  int Height() const override;
  void Clear() override;
  void SetPenColour(PickerColour colour) override;
  void SetTextColour(PickerColour colour) override;
  void SetFontSize(int points) override;
  int TextWidth(std::string_view text) const override;
  int TextHeight(std::string_view text) const override;
  void DrawText(int x, int y, std::string_view text) override;
  void DrawLine(int x1, int y1, int x2, int y2) override;
  void GradientFill(int x, int y, int width, int height, PickerColour first, PickerColour middle,
                    PickerColour last) override;
  void CopyFrom(const PickerPanel& source, int sx, int sy, int width, int height, int dx,
                int dy) override;

 private:
  platform::ui::DrawPanel& panel_;
};

}  // namespace workmemo
