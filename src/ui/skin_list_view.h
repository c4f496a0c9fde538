#pragma once
// SkinListView: the one list control of the program. It draws a grid of rows and columns as
// objects of an animation box (row objects, cell texts and pictures, grid lines, a header, a
// selection bar and its own scroll bar) and keeps no records: callers write the visible slice
// of their arrays into the rows. Each row object is named after the id of the record it shows,
// and the selection is a record id held in the selection bar's name.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/sprite_items.h"

namespace workmemo {

// The list's own pictures (PNG bytes). A button has three: normal, hover, pressed.
struct ListPictures {
  std::string selection;   // 2 x 2, translucent light orange
  std::string rowLine;     // 1000 x 1
  std::string headerBand;  // 1000 x 26
  std::string columnLine;  // 1 x 1000
  std::string clear;       // 2 x 2, nearly invisible
  std::string rowHover;    // 2 x 2, faint light blue
  std::string track;       // 26 x 300
  std::string up[3];       // 20 x 20
  std::string down[3];     // 20 x 20
  std::string thumb[3];    // 20 x 25
  std::string dropButton[3];  // 12 x 12
};

// How a text is written into a cell or caption; the face is always the Song face.
struct ListTextLook {
  int size = 9;
  bool bold = false;
  std::uint32_t colour = 0;  // red + green * 256 + blue * 65536
  bool centreAcross = false;
  bool centreDown = false;
};

// A column caption is written like a cell but centred both ways in its header cell unless a
// caller says otherwise: that is how every list shows its captions.
struct ListCaptionLook : ListTextLook {
  ListCaptionLook(int size = 9) : ListTextLook{size, false, 0, true, true} {}
};

// Gives object `id` its text and, as asked, centres it in (left, top, width, height): down
// first, then across. The list's own rule: the middle is truncated first and then nudged one
// pixel right and two down (the framed box nudges before truncating).
void PutCentredSpriteText(SpriteSurface& box, int id, std::string_view text,
                          const ListTextLook& look, int left, int top, int width, int height);

// Names of the list's objects that the mouse handling recognises.
inline constexpr std::string_view kListTrackName = "滚动背景";
inline constexpr std::string_view kListThumbName = "滚动按钮";
inline constexpr std::string_view kListUpButtonName = "上滑按钮";
inline constexpr std::string_view kListDownButtonName = "下滑按钮";
inline constexpr std::string_view kListRowSuffix = "ID";
inline constexpr std::string_view kListHeaderCellSuffix = "BT";

// Create's `rows` when the row count follows from the height.
inline constexpr int kRowsFromHeight = 0;

class SkinListView {
 public:
  // Builds the grid on `box` (an earlier grid is deleted first) and returns the row count.
  // Range, position and selection stay as they were.
  int Create(SpriteSurface& box, int rows, int columns, int left, int top, int width,
             int height, int rowHeight, bool header, const ListPictures& pictures);
  // A button object "表头下拉按钮" at its natural size; without pictures of its own it takes
  // the list's drop button and transparency 30.
  int CreateHeaderDropButton(int x, int y, std::function<void()> click,
                             const std::string* pictures = nullptr);
  void MoveHeaderDropButton(int k, int x, int y);
  // Deletes every object Create made; nothing on a list never built.
  void ClearRows();

  int ListLeft() const { return areaLeft_; }
  int ListTop() const { return areaTop_; }
  int ListWidth() const { return areaWidth_; }
  int ListHeight() const { return areaHeight_; }
  int VisibleRowCount() const { return rowCount_; }
  int ColumnCount() const { return columns_; }
  int RowHeight() const { return rowSize_; }

  // --- Scroll bar: the range maps onto the thumb's travel from TrackTop() down
  // TrackLength() pixels.
  void SetScrollMax(int value) { rangeMax_ = value; }
  void SetScrollMin(int value) { rangeMin_ = value; }
  int ScrollMax() const { return rangeMax_; }
  int ScrollMin() const { return rangeMin_; }
  int ScrollPosition() const { return position_; }
  // relative false: the position becomes value; true: one up (step < 0), one down (step > 0)
  // or unchanged (0). Kept in the range; the thumb follows. Returns the position.
  int SetScrollPosition(int value, int step, bool relative);
  // A click on the track at pointer y: the thumb centres on it. Returns the position.
  int ScrollToPointer(int y);
  void MoveThumbTo(int y);
  // The thumb follows the pointer held `grabOffset` below its top. Returns the position.
  int DragThumb(int y, int grabOffset);
  int TrackTop() const { return trackStart_; }
  int TrackLength() const { return trackSpan_; }
  int ThumbTop() const;
  int BarHeight() const { return barHeight_; }
  void ShowScrollBar(bool show);
  bool IsThumbVisible() const;
  bool IsTrackPressed() const { return trackPressed_; }
  bool IsThumbPressed() const { return thumbPressed_; }

  // --- Columns, captions and cells (rows and columns count from 1).
  // Places a column's cells (scaled against the 48 x 48 row icons when width > 0) and the
  // grid line left of it.
  void SetColumn(int column, int x, int yOffset, int width = 0, int height = 0);
  void SetColumnPosition(int column, int x, int y);
  void SetHeaderText(int column, std::string_view text, const ListCaptionLook& look);
  // Writes a cell; with fit the text is first cut to the column's width (at a line break
  // or with "..."). Returns the text written.
  std::string SetCellText(int row, int column, std::string_view text, const ListTextLook& look,
                          bool fit = false);
  void SetCellData(int row, int column, std::string_view picture);
  std::string CellText(int row, int column) const;
  std::string QueryHeaderItem(int column) const;
  void ShowColumn(int column, bool visible);
  int ColumnLeft(int column) const;
  // The last column ends 26 pixels before the list's right edge, bar shown or not.
  int ColumnWidth(int column) const;
  // The top of the line above a row; row 0 gives the top of the header.
  int RowTop(int row) const;

  // --- Rows and selection.
  // Shows or hides a row with its cells and clears its record id.
  void ShowRow(int row, bool visible);
  void SetRowId(int row, int id);
  std::string RowName(int row) const;
  // The record id of a row object, -1 for any other object.
  int RowIdOfSprite(int spriteId) const;
  // Names the selection; the bar neither moves nor changes visibility.
  void SetSelectedId(int id);
  void ClearSelection();
  // The selected record id, -1 when none.
  int SelectedId() const;
  void ShowSelection(bool visible);
  // Puts the bar over the row that shows the selected record, or hides it while that row
  // is not shown.
  void RestoreSelection();
  // Empties every cell and row, the selection and the scroll bar; range 1 to 1.
  void EmptyList();

  // --- Mouse: called with the object id of the box's events.
  void OnSpriteEnter(int spriteId);
  void OnScrollButtonLeave(int spriteId);
  void OnScrollButtonPress(int spriteId);
  void OnSpriteRelease(int spriteId);
  // Selects the row under an object; returns the last two bytes of its name ("ID" for a row),
  // empty for an object the list did not make.
  std::string SelectRowOfSprite(int spriteId);

  // --- Object operations over the list's own items.
  int AddPictureSprite(std::string_view name, int x, int y, int requestedWidth,
                       int requestedHeight, bool visible, std::string_view normal,
                       std::string_view hover = {}, std::string_view pressed = {},
                       std::function<void()> click = {}, std::function<void()> press = {},
                       int afterClickMode = 0);
  // The list's centring puts a text one pixel further right and two further down.
  void PutCenteredSpriteText(int spriteId, std::string_view text, const ListTextLook& look,
                             int left = 0, int top = 0, int width = 0, int height = 0);
  void SetSpritePicture(int spriteId, std::string_view picture);
  void ShowSprite(int spriteId, bool visible);
  void SetSpriteTransparency(int spriteId, int percent);
  // Scales an object to width x height against a picture of baseWidth x baseHeight.
  void ResizeSprite(int spriteId, int width, int height, int baseWidth, int baseHeight);
  void MoveSprite(int spriteId, int x, int y);
  int SpriteWidth(int spriteId) const;
  int SpriteHeight(int spriteId) const;
  int SpriteLeft(int spriteId) const;
  int SpriteTop(int spriteId) const;
  void SetSpriteName(int spriteId, std::string_view name);
  std::string SpriteName(int spriteId) const;
  std::string SpriteText(int spriteId) const;
  bool IsSpriteVisible(int spriteId) const;
  const std::vector<SpriteItem>& Items() const { return items_.All(); }

  // Object ids of the built grid, for the code that routes the box's events.
  int SelectionBar() const { return selectionBar_; }
  int RowSprite(int row) const { return At(rowSprites_, row); }
  int CellSprite(int row, int column) const;
  int HeaderCell(int column) const { return At(headerCells_, column); }
  int HeaderItem(int column) const { return At(headerItems_, column); }
  int TrackSprite() const { return trackSprite_; }
  int ThumbSprite() const { return thumbSprite_; }
  int UpButton() const { return upButton_; }
  int DownButton() const { return downButton_; }

 private:
  static int At(const std::vector<int>& ids, int oneBased);
  void SelectRow(int spriteId);
  int ClampThumb(int y) const;
  int PositionAtThumb(int thumbTop) const;

  SpriteSurface* box_ = nullptr;
  SpriteItems items_;
  ListPictures pictures_;
  int areaWidth_ = 0;
  int areaHeight_ = 0;
  int areaLeft_ = 0;
  int areaTop_ = 0;
  int rowSize_ = 0;
  int rowCount_ = 0;
  std::vector<int> cells_;  // rowCount_ x columns_, row by row
  std::vector<int> rowLines_;
  std::vector<int> columnLines_;
  std::vector<int> rowSprites_;
  int selectionBar_ = 0;
  std::vector<int> headerItems_;
  int headerBackground_ = 0;
  std::vector<int> headerCells_;
  std::vector<int> dropButtons_;
  int columns_ = 0;
  int trackSprite_ = 0;
  int thumbSprite_ = 0;
  int upButton_ = 0;
  int downButton_ = 0;
  int barTop_ = 0;
  int barLeft_ = 0;
  int barHeight_ = 0;
  int thumbLeft_ = 0;
  int trackStart_ = 0;
  int trackSpan_ = 0;
  int rangeMin_ = 0;
  int rangeMax_ = 0;
  int position_ = 0;
  bool trackPressed_ = false;
  bool thumbPressed_ = false;
  bool hasHeader_ = false;
  int rowAreaTop_ = 0;
  int fontProbe_ = 0;
  int probeSize_ = 0;
  int probeWidth_ = 0;
};

// --- What every filler of a list shares.

// The largest first row of a list of `recordCount` records on `visibleRows` rows: 1 when
// they all fit, else recordCount - visibleRows + 1.
int LargestFirstRow(int recordCount, int visibleRows);
// A first row held within 1 .. largestFirstRow.
int ClampFirstRow(int firstRow, int largestFirstRow);
// A text cut to a byte limit for a column: at a line break that comes before the limit (the
// carriage return stays), else when longer than the limit to `cutBytes` bytes and "...".
std::string FitText(std::string_view text, int limit, int cutBytes);
// FitText with the cut at the limit itself: the fillers' title and category columns.
std::string FitTextToBytes(std::string_view text, int limit);
// After the rows are written: the selection back over its row, the range and the thumb set
// when the largest first row changed, and the scroll bar shown only when the records
// do not all fit.
void FinishListRefill(SkinListView& list, int firstRow, int largestFirstRow, int recordCount);
// Before the first page of a new query: no selection, range 1 .. largestFirstRow, position 1.
void ResetListForQuery(SkinListView& list, int largestFirstRow);

}  // namespace workmemo
