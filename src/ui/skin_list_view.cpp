#include "ui/skin_list_view.h"

#include <algorithm>

#include "common/text_routines.h"

namespace workmemo {

namespace {

constexpr int kBarWidth = 26;
constexpr int kButtonSize = 20;
constexpr int kButtonInset = (kBarWidth - kButtonSize) / 2;
constexpr int kThumbWidth = 20;
constexpr int kThumbHeight = 25;
constexpr int kIconSize = 48;
constexpr int kLineLength = 1000;
constexpr int kHeaderBandHeight = 26;
constexpr int kSmallPicture = 2;

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace

int SkinListView::At(const std::vector<int>& ids, int oneBased) {
  if (oneBased < 1 || oneBased > static_cast<int>(ids.size())) return 0;
  return ids[static_cast<std::size_t>(oneBased - 1)];
}

int SkinListView::CellSprite(int row, int column) const {
  if (row < 1 || row > rowCount_ || column < 1 || column > columns_) return 0;
  return cells_[static_cast<std::size_t>((row - 1) * columns_ + (column - 1))];
}

// --- Building ----------------------------------------------------------------------------

int SkinListView::Create(SpriteSurface& box, int rows, int columns, int left, int top,
                         int width, int height, int rowHeight, bool header,
                         const ListPictures& pictures) {
  ClearRows();
  box_ = &box;
  pictures_ = pictures;
  areaLeft_ = left;
  areaTop_ = top;
  areaWidth_ = width;
  areaHeight_ = height;
  rowSize_ = rowHeight;
  hasHeader_ = header;
  rowAreaTop_ = header ? top + rowHeight : top;
  rowCount_ = rows == kRowsFromHeight && rowHeight > 0 ? height / rowHeight : rows;
  columns_ = columns;

  cells_.assign(static_cast<std::size_t>(std::max(0, rowCount_ * columns_)), 0);
  columnLines_.assign(static_cast<std::size_t>(std::max(0, columns_ - 1)), 0);
  rowSprites_.assign(static_cast<std::size_t>(std::max(0, rowCount_)), 0);
  headerItems_.assign(static_cast<std::size_t>(std::max(0, columns_)), 0);
  headerCells_.assign(static_cast<std::size_t>(std::max(0, columns_)), 0);

  // Creation order is drawing order: later objects lie above earlier ones.
  selectionBar_ = AddPictureSprite("透明背景", left, top + 1, width, rowHeight - 1, false,
                                   pictures_.selection);

  rowLines_.assign(static_cast<std::size_t>(std::max(0, rowCount_ + (header ? 2 : 1))), 0);
  auto addLine = [&](int index, int y) {
    rowLines_[static_cast<std::size_t>(index - 1)] =
        AddPictureSprite("横线", left, y, width, 1, true, pictures_.rowLine);
  };
  for (int i = 1; i <= rowCount_; ++i) {
    const int y = rowAreaTop_ + (i - 1) * rowHeight;
    if (i == rowCount_) {
      if (header) addLine(rowCount_ + 2, top);
      addLine(rowCount_ + 1, y + rowHeight);
    }
    addLine(i, y);
    SetSpriteTransparency(At(rowLines_, i), 30);
  }

  if (header) {
    headerBackground_ = AddPictureSprite("表头背景", left, top + 1, width, rowHeight - 1, true,
                                         pictures_.headerBand);
    SetSpriteTransparency(headerBackground_, 30);
    for (int j = 1; j < columns_; ++j)
      columnLines_[static_cast<std::size_t>(j - 1)] =
          AddPictureSprite("纵线", left, top, 1, height, true, pictures_.columnLine);
    for (int j = 1; j <= columns_; ++j) {
      headerItems_[static_cast<std::size_t>(j - 1)] =
          AddPictureSprite("表头", left, top, 1, height, true, {});
      headerCells_[static_cast<std::size_t>(j - 1)] =
          AddPictureSprite(std::to_string(j) + std::string(kListHeaderCellSuffix), left, top, 1,
                           height, true, pictures_.clear);
    }
  }

  for (int& cell : cells_) cell = AddPictureSprite("", 0, 0, 0, 0, false, {});

  for (int i = 1; i <= rowCount_; ++i)
    rowSprites_[static_cast<std::size_t>(i - 1)] = AddPictureSprite(
        "透明背景", left, rowAreaTop_ + (i - 1) * rowHeight + 1, width, rowHeight - 1, false,
        pictures_.clear, pictures_.rowHover, pictures_.clear);

  barTop_ = top + 1;
  barLeft_ = width - kBarWidth;  // from the box's edge, whatever the list's left
  barHeight_ = rowCount_ * rowHeight + (header ? rowHeight : 0);
  thumbLeft_ = barLeft_ + kButtonInset;
  trackStart_ = top + kButtonSize + 1;
  trackSpan_ = barHeight_ - 2 * kButtonSize - kThumbHeight;
  trackSprite_ = AddPictureSprite(kListTrackName, barLeft_, barTop_, kBarWidth, barHeight_,
                                  false, pictures_.track);
  SetSpriteTransparency(trackSprite_, 80);
  upButton_ = AddPictureSprite(kListUpButtonName, barLeft_ + kButtonInset, top + 1, kButtonSize,
                               kButtonSize, false, pictures_.up[0], pictures_.up[1],
                               pictures_.up[2]);
  downButton_ = AddPictureSprite(kListDownButtonName, barLeft_ + kButtonInset,
                                 top + barHeight_ - kButtonSize, kButtonSize, kButtonSize, false,
                                 pictures_.down[0], pictures_.down[1], pictures_.down[2]);
  thumbSprite_ = AddPictureSprite(kListThumbName, thumbLeft_, trackStart_, kThumbWidth,
                                  kThumbHeight, false, pictures_.thumb[0], pictures_.thumb[1],
                                  pictures_.thumb[2]);
  fontProbe_ = AddPictureSprite("字体测试", -100, -100, 0, 0, false, {});
  return rowCount_;
}

int SkinListView::CreateHeaderDropButton(int x, int y, std::function<void()> click,
                                         const std::string* pictures) {
  const std::string* look = pictures != nullptr ? pictures : pictures_.dropButton;
  const int id = AddPictureSprite("表头下拉按钮", x, y, 0, 0, true, look[0], look[1], look[2],
                                  std::move(click));
  if (pictures == nullptr) SetSpriteTransparency(id, 30);
  dropButtons_.push_back(id);
  return id;
}

void SkinListView::MoveHeaderDropButton(int k, int x, int y) { MoveSprite(At(dropButtons_, k), x, y); }

void SkinListView::ClearRows() {
  if (selectionBar_ < 1 || box_ == nullptr) return;
  std::vector<int> gone{selectionBar_};
  gone.insert(gone.end(), rowLines_.begin(), rowLines_.end());
  if (hasHeader_) {
    for (int j = 0; j < columns_; ++j) {
      gone.push_back(headerItems_[static_cast<std::size_t>(j)]);
      gone.push_back(headerCells_[static_cast<std::size_t>(j)]);
    }
    gone.push_back(headerBackground_);
  }
  gone.insert(gone.end(), cells_.begin(), cells_.end());
  gone.insert(gone.end(), rowSprites_.begin(), rowSprites_.end());
  gone.insert(gone.end(), {trackSprite_, thumbSprite_, upButton_, downButton_});
  gone.insert(gone.end(), columnLines_.begin(), columnLines_.end());
  gone.insert(gone.end(), dropButtons_.begin(), dropButtons_.end());
  gone.push_back(fontProbe_);
  dropButtons_.clear();
  box_->DeleteObjects(gone);
  // The items of deleted objects go too, so lookups only ever meet the current build.
  items_.Erase(gone);
}

// --- Scroll bar ----------------------------------------------------------------------------

int SkinListView::ClampThumb(int y) const {
  if (y < trackStart_) return trackStart_;
  if (y > trackStart_ + trackSpan_) return trackStart_ + trackSpan_;
  return y;
}

int SkinListView::PositionAtThumb(int thumbTop) const {
  // A track too short for the thumb has no travel to divide by: it stands for the first row.
  if (trackSpan_ <= 0) return 1;
  return static_cast<int>(static_cast<double>(thumbTop - trackStart_) / trackSpan_ *
                              (rangeMax_ - rangeMin_) +
                          1);
}

int SkinListView::SetScrollPosition(int value, int step, bool relative) {
  if (!relative) position_ = value;
  else if (step > 0) ++position_;
  else if (step < 0) --position_;
  if (position_ < rangeMin_) position_ = rangeMin_;
  else if (position_ > rangeMax_) position_ = rangeMax_;
  int y = trackStart_;
  if (rangeMax_ != rangeMin_)
    y = trackStart_ + static_cast<int>(static_cast<double>(position_ - 1) /
                                       (rangeMax_ - rangeMin_) * trackSpan_);
  MoveSprite(thumbSprite_, thumbLeft_, ClampThumb(y));
  return position_;
}

int SkinListView::ScrollToPointer(int y) {
  int t = static_cast<int>(y - kThumbHeight / 2.0);
  if (t <= trackStart_) t = trackStart_;
  else if (t >= trackStart_ + trackSpan_) t = trackStart_ + trackSpan_;
  position_ = PositionAtThumb(t);
  MoveThumbTo(t);
  return position_;
}

void SkinListView::MoveThumbTo(int y) { MoveSprite(thumbSprite_, thumbLeft_, ClampThumb(y)); }

int SkinListView::DragThumb(int y, int grabOffset) {
  const int t = ClampThumb(y - grabOffset);
  position_ = PositionAtThumb(t);
  MoveSprite(thumbSprite_, thumbLeft_, t);
  return position_;
}

int SkinListView::ThumbTop() const { return SpriteTop(thumbSprite_); }

void SkinListView::ShowScrollBar(bool show) {
  for (int id : {upButton_, downButton_, thumbSprite_, trackSprite_}) ShowSprite(id, show);
  // With the bar shown the rows, the selection and the inner lines end at its left edge.
  const int w = show ? barLeft_ - areaLeft_ : areaWidth_;
  for (int i = 1; i <= rowCount_; ++i) {
    if (i < rowCount_) {
      if (i == 1 && hasHeader_) ResizeSprite(At(rowLines_, 1), w, 1, kLineLength, 1);
      ResizeSprite(At(rowLines_, i + 1), w, 1, kLineLength, 1);
    }
    ResizeSprite(RowSprite(i), w, rowSize_ - 1, kSmallPicture, kSmallPicture);
  }
  ResizeSprite(selectionBar_, w, rowSize_ - 1, kSmallPicture, kSmallPicture);
  ResizeSprite(headerBackground_, w, kHeaderBandHeight, kLineLength, kHeaderBandHeight);
}

bool SkinListView::IsThumbVisible() const { return IsSpriteVisible(thumbSprite_); }

// --- Columns, captions and cells -----------------------------------------------------------

void SkinListView::SetColumn(int column, int x, int yOffset, int width, int height) {
  for (int i = 1; i <= rowCount_; ++i) {
    const int cell = CellSprite(i, column);
    MoveSprite(cell, x, rowAreaTop_ + yOffset + rowSize_ * (i - 1));
    if (width > 0) ResizeSprite(cell, width, height, kIconSize, kIconSize);
  }
  if (column >= 2) MoveSprite(At(columnLines_, column - 1), x - 3, areaTop_);
}

void SkinListView::SetColumnPosition(int column, int x, int y) {
  MoveSprite(HeaderItem(column), x, y);
  // The width runs to the x of the line at the column's right (not from x); the cells of
  // later columns lie above and take their own clicks.
  const int w = column == columns_ ? areaWidth_ - SpriteLeft(At(columnLines_, columns_ - 1))
                                   : SpriteLeft(At(columnLines_, column));
  const int cell = HeaderCell(column);
  MoveSprite(cell, x, areaTop_);
  ResizeSprite(cell, w, rowSize_, kSmallPicture, kSmallPicture);
}

void SkinListView::SetHeaderText(int column, std::string_view text, const ListCaptionLook& look) {
  if (look.centreAcross || look.centreDown)
    PutCenteredSpriteText(HeaderItem(column), text, look, ColumnLeft(column), RowTop(0),
                          ColumnWidth(column), rowSize_);
  else
    PutCenteredSpriteText(HeaderItem(column), text, look);
}

std::string SkinListView::SetCellText(int row, int column, std::string_view text,
                                      const ListTextLook& look, bool fit) {
  std::string shown(text);
  if (fit) {
    if (look.size != probeSize_) {
      PutCenteredSpriteText(fontProbe_, " ", {look.size, look.bold, look.colour, false, false});
      probeSize_ = look.size;
      probeWidth_ = SpriteWidth(fontProbe_);
    }
    // A font that measures no width gives no limit to cut at: the text stays whole.
    if (probeWidth_ > 0) {
      const int limit = (ColumnWidth(column) - 5) / probeWidth_;
      shown = FitText(text, limit, limit - 2);
    }
  }
  const int cell = CellSprite(row, column);
  if (look.centreAcross || look.centreDown)
    PutCenteredSpriteText(cell, shown, look, ColumnLeft(column), RowTop(row),
                          ColumnWidth(column), rowSize_);
  else
    PutCenteredSpriteText(cell, shown, look);
  return shown;
}

void SkinListView::SetCellData(int row, int column, std::string_view picture) {
  SetSpritePicture(CellSprite(row, column), picture);
}

std::string SkinListView::CellText(int row, int column) const {
  return SpriteText(CellSprite(row, column));
}

std::string SkinListView::QueryHeaderItem(int column) const {
  return SpriteText(HeaderItem(column));
}

void SkinListView::ShowColumn(int column, bool visible) {
  for (int i = 1; i <= rowCount_; ++i) ShowSprite(CellSprite(i, column), visible);
}

int SkinListView::ColumnLeft(int column) const {
  return column == 1 ? areaLeft_ : SpriteLeft(At(columnLines_, column - 1));
}

int SkinListView::ColumnWidth(int column) const {
  if (column == 1) return SpriteLeft(At(columnLines_, 1));
  const int left = SpriteLeft(At(columnLines_, column - 1));
  if (column == columns_) return areaWidth_ - kBarWidth - left;
  return SpriteLeft(At(columnLines_, column)) - left;
}

int SkinListView::RowTop(int row) const {
  return SpriteTop(At(rowLines_, row == 0 ? rowCount_ + 2 : row));
}

// --- Rows and selection --------------------------------------------------------------------

void SkinListView::ShowRow(int row, bool visible) {
  const int id = RowSprite(row);
  ShowSprite(id, visible);
  SetSpriteName(id, "");
  for (int j = 1; j <= columns_; ++j) ShowSprite(CellSprite(row, j), visible);
}

void SkinListView::SetRowId(int row, int id) {
  SetSpriteName(RowSprite(row), std::to_string(id) + std::string(kListRowSuffix));
}

std::string SkinListView::RowName(int row) const { return SpriteName(RowSprite(row)); }

int SkinListView::RowIdOfSprite(int spriteId) const {
  const std::string name = SpriteName(spriteId);
  if (!EndsWith(name, kListRowSuffix)) return -1;
  return TextToInteger(std::string_view(name).substr(0, name.size() - kListRowSuffix.size()));
}

void SkinListView::SetSelectedId(int id) { SetSpriteName(selectionBar_, std::to_string(id)); }

void SkinListView::ClearSelection() {
  SetSpriteName(selectionBar_, "-1");
  ShowSprite(selectionBar_, false);
}

int SkinListView::SelectedId() const {
  const int id = TextToInteger(SpriteName(selectionBar_));
  return id > 0 ? id : -1;
}

void SkinListView::ShowSelection(bool visible) { ShowSprite(selectionBar_, visible); }

void SkinListView::RestoreSelection() {
  const std::string key = SpriteName(selectionBar_) + std::string(kListRowSuffix);
  bool found = false;
  for (int i = 1; i <= rowCount_; ++i) {
    const int row = RowSprite(i);
    if (SpriteName(row) == key) {
      MoveSprite(selectionBar_, SpriteLeft(row), SpriteTop(row));
      found = true;
    }
  }
  if (found != IsSpriteVisible(selectionBar_)) ShowSprite(selectionBar_, found);
}

void SkinListView::EmptyList() {
  for (int cell : cells_) PutCenteredSpriteText(cell, "", ListTextLook{});
  for (int row : rowSprites_) ShowSprite(row, false);
  SetSelectedId(-1);
  ShowSprite(selectionBar_, false);
  ShowScrollBar(false);
  rangeMin_ = 1;
  rangeMax_ = 1;
}

// --- Mouse ---------------------------------------------------------------------------------

void SkinListView::SelectRow(int spriteId) {
  const std::string name = SpriteName(spriteId);
  if (!EndsWith(name, kListRowSuffix)) return;
  MoveSprite(selectionBar_, SpriteLeft(spriteId), SpriteTop(spriteId));
  if (!IsSpriteVisible(selectionBar_)) ShowSprite(selectionBar_, true);
  SetSpriteName(selectionBar_, std::string_view(name).substr(0, name.size() - kListRowSuffix.size()));
}

// The list's own rules (pressed flags, selection, step buttons) come first; the picture and
// routine then follow the rules every sprite shares.
void SkinListView::OnSpriteEnter(int spriteId) {
  if (box_ != nullptr) items_.OnEnter(*box_, spriteId);
}

void SkinListView::OnScrollButtonLeave(int spriteId) {
  if (box_ == nullptr || items_.Find(spriteId) == nullptr) return;
  if (SpriteName(spriteId) == kListThumbName) thumbPressed_ = false;
  items_.OnLeave(*box_, spriteId);
}

void SkinListView::OnScrollButtonPress(int spriteId) {
  if (box_ == nullptr || items_.Find(spriteId) == nullptr) return;
  const std::string name = SpriteName(spriteId);
  if (name == kListTrackName) trackPressed_ = true;
  if (name == kListThumbName) thumbPressed_ = true;
  SelectRow(spriteId);
  if (name == kListUpButtonName) SetScrollPosition(std::max(position_ - 1, rangeMin_), 0, false);
  if (name == kListDownButtonName) SetScrollPosition(std::min(position_ + 1, rangeMax_), 0, false);
  items_.OnPress(*box_, spriteId);
}

void SkinListView::OnSpriteRelease(int spriteId) {
  // Any release ends a press on the track or the thumb, even on an object of another list.
  trackPressed_ = false;
  thumbPressed_ = false;
  if (box_ != nullptr) items_.OnRelease(*box_, spriteId);
}

std::string SkinListView::SelectRowOfSprite(int spriteId) {
  if (items_.Find(spriteId) == nullptr) return {};
  SelectRow(spriteId);
  const std::string name = SpriteName(spriteId);
  return name.size() >= 2 ? name.substr(name.size() - 2) : name;
}

// --- Object operations ---------------------------------------------------------------------

void PutCentredSpriteText(SpriteSurface& box, int id, std::string_view text,
                          const ListTextLook& look, int left, int top, int width, int height) {
  box.SetObjectText(id, text, look.size, look.bold, look.colour);
  // The nudge comes after the truncation here, unlike CentreSprite's.
  if (look.centreDown) {
    top = CentredOffset(top, height, box.ObjectHeight(id)) + 2;
    box.MoveObject(id, left, top);
  }
  if (look.centreAcross)
    box.MoveObject(id, CentredOffset(left, width, box.ObjectWidth(id)) + 1, top);
}

int SkinListView::AddPictureSprite(std::string_view name, int x, int y, int requestedWidth,
                                   int requestedHeight, bool visible, std::string_view normal,
                                   std::string_view hover, std::string_view pressed,
                                   std::function<void()> click, std::function<void()> press,
                                   int afterClickMode) {
  if (box_ == nullptr) return 0;
  return items_.Add(*box_, name, x, y, requestedWidth, requestedHeight, visible, normal, hover,
                    pressed, std::move(click), std::move(press), afterClickMode);
}

void SkinListView::PutCenteredSpriteText(int spriteId, std::string_view text,
                                         const ListTextLook& look, int left, int top, int width,
                                         int height) {
  if (box_ != nullptr) PutCentredSpriteText(*box_, spriteId, text, look, left, top, width, height);
}

void SkinListView::SetSpritePicture(int spriteId, std::string_view picture) {
  if (box_ != nullptr) box_->SetObjectPicture(spriteId, picture);
}
void SkinListView::ShowSprite(int spriteId, bool visible) {
  if (box_ != nullptr) box_->ShowObject(spriteId, visible);
}
void SkinListView::SetSpriteTransparency(int spriteId, int percent) {
  if (box_ != nullptr) box_->SetObjectTransparency(spriteId, percent);
}
void SkinListView::ResizeSprite(int spriteId, int width, int height, int baseWidth,
                                int baseHeight) {
  if (box_ != nullptr) workmemo::ResizeSprite(*box_, spriteId, width, height, baseWidth, baseHeight);
}
void SkinListView::MoveSprite(int spriteId, int x, int y) {
  if (box_ != nullptr) box_->MoveObject(spriteId, x, y);
}
int SkinListView::SpriteWidth(int spriteId) const {
  return box_ != nullptr ? box_->ObjectWidth(spriteId) : 0;
}
int SkinListView::SpriteHeight(int spriteId) const {
  return box_ != nullptr ? box_->ObjectHeight(spriteId) : 0;
}
int SkinListView::SpriteLeft(int spriteId) const {
  return box_ != nullptr ? box_->ObjectLeft(spriteId) : 0;
}
int SkinListView::SpriteTop(int spriteId) const {
  return box_ != nullptr ? box_->ObjectTop(spriteId) : 0;
}
void SkinListView::SetSpriteName(int spriteId, std::string_view name) {
  if (box_ != nullptr) box_->SetObjectName(spriteId, name);
}
std::string SkinListView::SpriteName(int spriteId) const {
  return box_ != nullptr ? box_->ObjectName(spriteId) : std::string();
}
std::string SkinListView::SpriteText(int spriteId) const {
  return box_ != nullptr ? box_->ObjectText(spriteId) : std::string();
}
bool SkinListView::IsSpriteVisible(int spriteId) const {
  return box_ != nullptr && box_->IsObjectVisible(spriteId);
}

// --- What every filler shares --------------------------------------------------------------

int LargestFirstRow(int recordCount, int visibleRows) {
  return recordCount <= visibleRows ? 1 : std::max(1, recordCount - visibleRows + 1);
}

int ClampFirstRow(int firstRow, int largestFirstRow) {
  if (firstRow < 1) return 1;
  return firstRow > largestFirstRow ? largestFirstRow : firstRow;
}

std::string FitText(std::string_view text, int limit, int cutBytes) {
  const std::size_t lineBreak = text.find("\r\n");
  // 1-based position of the carriage return: cutting there keeps it and drops the rest.
  const long long p = lineBreak == std::string_view::npos ? -1 : static_cast<long long>(lineBreak) + 1;
  if (p > -1 && p < limit) return TruncateText(text, static_cast<int>(p));
  if (static_cast<long long>(text.size()) > limit) return TruncateText(text, cutBytes) + "...";
  return std::string(text);
}

std::string FitTextToBytes(std::string_view text, int limit) { return FitText(text, limit, limit); }

void FinishListRefill(SkinListView& list, int firstRow, int largestFirstRow, int recordCount) {
  list.RestoreSelection();
  if (list.ScrollMax() != largestFirstRow) {
    list.SetScrollMax(largestFirstRow);
    list.SetScrollPosition(firstRow, 0, false);
  }
  if (recordCount > list.VisibleRowCount()) {
    if (!list.IsThumbVisible()) list.ShowScrollBar(true);
  } else if (list.IsThumbVisible()) {
    list.ShowScrollBar(false);
  }
}

void ResetListForQuery(SkinListView& list, int largestFirstRow) {
  list.SetSelectedId(0);
  list.ShowSelection(false);
  list.SetScrollMax(largestFirstRow);
  list.SetScrollMin(1);
  list.SetScrollPosition(1, 0, false);
}

}  // namespace workmemo
