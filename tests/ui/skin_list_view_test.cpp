#include "ui/skin_list_view.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "fake_sprite_surface.h"
#include "gui_test.h"
#include "platform/image/image.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/window.h"
#include "test_support.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_list_view_router.h"

namespace workmemo {
namespace {

using testsupport::FakeSpriteSurface;
using testsupport::Show;

ListPictures FakePictures() {
  ListPictures p;
  p.selection = "2 x 2 selection";
  p.rowLine = "1000 x 1 row line";
  p.headerBand = "1000 x 26 band";
  p.columnLine = "1 x 1000 column line";
  p.clear = "2 x 2 clear";
  p.rowHover = "2 x 2 hover";
  p.track = "26 x 300 track";
  const char* states[] = {"normal", "hover", "pressed"};
  for (int i = 0; i < 3; ++i) {
    p.up[i] = std::string("20 x 20 up ") + states[i];
    p.down[i] = std::string("20 x 20 down ") + states[i];
    p.thumb[i] = std::string("20 x 25 thumb ") + states[i];
    p.dropButton[i] = std::string("12 x 12 drop ") + states[i];
  }
  return p;
}

// The timed-reminder page's list: 19 rows of 27 under a header, six columns, on a box
// 877 wide.
class ListTest : public ::testing::Test {
 protected:
  void Build(int rows = 19, int columns = 6, int left = 0, int top = 0, int rowHeight = 27,
             bool header = true, int width = 877) {
    list.Create(box, rows, columns, left, top, width, 540, rowHeight, header, FakePictures());
  }
  // Column lefts as the timed-reminder page places them.
  void PlaceColumns() {
    const int xs[] = {2, 40, 140, 230, 330, 440};
    for (int c = 1; c <= 6; ++c) list.SetColumn(c, xs[c - 1], 2, c == 1 ? 24 : 0, c == 1 ? 24 : 0);
    for (int c = 1; c <= 6; ++c) list.SetColumnPosition(c, xs[c - 1], 6);
  }
  // Writes records first .. of ids 10001, 10002, ... as a filler does.
  void Fill(int firstRow, int count) {
    const int largest = LargestFirstRow(count, list.VisibleRowCount());
    firstRow = ClampFirstRow(firstRow, largest);
    for (int i = 1; i <= list.VisibleRowCount(); ++i) list.ShowRow(i, false);
    for (int i = 1; i <= list.VisibleRowCount(); ++i) {
      const int k = firstRow - 1 + i;
      if (k > count) break;
      list.ShowRow(i, true);
      list.SetCellText(i, 6, "title " + std::to_string(k), {});
      list.SetRowId(i, 10000 + k);
    }
    FinishListRefill(list, firstRow, largest, count);
  }
  void NewQuery(int count) {
    ResetListForQuery(list, LargestFirstRow(count, list.VisibleRowCount()));
    Fill(1, count);
  }
  const FakeSpriteSurface::Object& Obj(int id) { return box.objects.at(id); }

  FakeSpriteSurface box;
  SkinListView list;
};

TEST_F(ListTest, ScrollBarGeometryOfTheSystemsLists) {
  const struct {
    int rows, left, top, rowHeight;
    bool header;
    int width, barHeight, trackSpan;
  } cases[] = {
      {19, 0, 0, 27, true, 877, 540, 475},   // timed reminders, notes, due page
      {9, 0, 83, 28, false, 300, 252, 187},  // today window
      {9, 2, 50, 27, true, 600, 270, 205},   // due window: left 2
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows * 100 + c.top);
    FakeSpriteSurface b;
    SkinListView l;
    EXPECT_EQ(l.Create(b, c.rows, 2, c.left, c.top, c.width, 600, c.rowHeight, c.header,
                       FakePictures()),
              c.rows);
    EXPECT_EQ(l.BarHeight(), c.barHeight);
    EXPECT_EQ(l.TrackTop(), c.top + 21);
    EXPECT_EQ(l.TrackLength(), c.trackSpan);
    // The bar stands at the box's width less 26, whatever the list's left.
    EXPECT_EQ(l.SpriteLeft(l.TrackSprite()), c.width - 26);
    EXPECT_EQ(l.SpriteLeft(l.ThumbSprite()), c.width - 23);
    EXPECT_EQ(l.SpriteTop(l.DownButton()), c.top + c.barHeight - 20);
    EXPECT_EQ(l.SpriteWidth(l.TrackSprite()), 26);
    EXPECT_EQ(l.SpriteHeight(l.TrackSprite()), c.barHeight);
    EXPECT_FALSE(l.IsThumbVisible());
  }
}

TEST_F(ListTest, RowCountFollowsFromTheHeightWhenNotGiven) {
  EXPECT_EQ(list.Create(box, kRowsFromHeight, 2, 0, 0, 300, 255, 28, false, FakePictures()), 9);
}

TEST_F(ListTest, RebuildingReplacesTheGridAndClearingAnUnbuiltListDoesNothing) {
  list.ClearRows();
  EXPECT_TRUE(box.objects.empty());
  Build();
  const std::size_t objects = box.objects.size();
  const int oldThumb = list.ThumbSprite();
  Build();
  EXPECT_EQ(box.objects.size(), objects);
  EXPECT_EQ(box.objects.count(oldThumb), 0u);
  EXPECT_EQ(list.Items().size(), objects);
  list.ClearRows();
  EXPECT_TRUE(box.objects.empty());
}

TEST(FirstRowTest, LargestAndClampedFirstRows) {
  const struct {
    int count, rows, largest;
  } largest[] = {{40, 19, 22}, {25, 19, 7}, {20, 19, 2}, {19, 19, 1}, {0, 19, 1}, {10, 9, 2}};
  for (const auto& c : largest) EXPECT_EQ(LargestFirstRow(c.count, c.rows), c.largest) << c.count;
  const struct {
    int first, largest, clamped;
  } clamp[] = {{10, 7, 7}, {0, 7, 1}, {-5, 7, 1}, {5, 7, 5}, {7, 7, 7}, {3, 1, 1}};
  for (const auto& c : clamp) EXPECT_EQ(ClampFirstRow(c.first, c.largest), c.clamped) << c.first;
}

TEST_F(ListTest, ScrollPositionPlacesTheThumbAlongTheTrack) {
  Build();
  const int start = list.TrackTop();
  list.SetScrollMin(1);

  list.SetScrollMax(1);  // every record fits: range 1 to 1
  for (int value : {-3, 1, 5}) {
    EXPECT_EQ(list.SetScrollPosition(value, 0, false), 1);
    EXPECT_EQ(list.ThumbTop(), start);
  }
  EXPECT_EQ(list.DragThumb(start + 300, 0), 1);
  EXPECT_EQ(list.DragThumb(start + 475, 0), 1);
  EXPECT_EQ(list.ScrollToPointer(400), 1);

  list.SetScrollMax(11);
  EXPECT_EQ(list.SetScrollPosition(6, 0, false), 6);
  EXPECT_EQ(list.ThumbTop(), start + 237);  // 237.5 truncated
  EXPECT_EQ(list.SetScrollPosition(11, 0, false), 11);
  EXPECT_EQ(list.ThumbTop(), start + 475);
  EXPECT_EQ(list.SetScrollPosition(99, 0, false), 11);
  EXPECT_EQ(list.ScrollToPointer(start + 475 + 13), 11);  // the bottom of the track
  EXPECT_EQ(list.ScrollToPointer(0), 1);
  EXPECT_EQ(list.ThumbTop(), start);
  EXPECT_EQ(list.DragThumb(start + 237 + 10, 10), 5);  // 4.99 + 1 truncated
  EXPECT_EQ(list.ThumbTop(), start + 237);

  // Relative steps move by one whatever the step's size; step 0 only puts the thumb back.
  list.SetScrollPosition(5, 0, false);
  list.MoveThumbTo(start + 400);
  EXPECT_EQ(list.SetScrollPosition(5, 0, true), 5);
  EXPECT_EQ(list.ThumbTop(), start + 190);
  EXPECT_EQ(list.SetScrollPosition(1, 7, true), 6);
  EXPECT_EQ(list.SetScrollPosition(1, -7, true), 5);
  list.MoveThumbTo(-50);
  EXPECT_EQ(list.ThumbTop(), start);
}

TEST_F(ListTest, SelectionIsARecordIdThatFollowsItsRow) {
  Build();
  PlaceColumns();
  EXPECT_EQ(list.SelectedId(), -1);
  NewQuery(40);
  EXPECT_EQ(list.ScrollMax(), 22);
  EXPECT_TRUE(list.IsThumbVisible());
  NewQuery(60);

  // A click on the row of record 10046: first row 30 shows it in row 17.
  list.SetScrollPosition(30, 0, false);
  Fill(30, 60);
  ListEventRouter router(list, {});
  router.ObjectPressed(list.RowSprite(17));
  EXPECT_EQ(list.SelectedId(), 10046);
  EXPECT_TRUE(list.IsSpriteVisible(list.SelectionBar()));
  EXPECT_EQ(list.SpriteTop(list.SelectionBar()), list.SpriteTop(list.RowSprite(17)));

  // Scrolled away the bar hides; back again it lies over the record's new row.
  Fill(1, 60);
  EXPECT_EQ(list.SelectedId(), 10046);
  EXPECT_FALSE(list.IsSpriteVisible(list.SelectionBar()));
  Fill(28, 60);
  EXPECT_TRUE(list.IsSpriteVisible(list.SelectionBar()));
  EXPECT_EQ(list.SpriteTop(list.SelectionBar()), list.SpriteTop(list.RowSprite(19)));

  // A refill after a change keeps the selection; a record that went hides the bar.
  Fill(30, 66);
  EXPECT_EQ(list.ScrollMax(), 48);
  EXPECT_EQ(list.SpriteTop(list.SelectionBar()), list.SpriteTop(list.RowSprite(17)));
  Fill(1, 5);
  EXPECT_FALSE(list.IsSpriteVisible(list.SelectionBar()));
  EXPECT_FALSE(list.IsThumbVisible());

  list.SetSelectedId(0);
  EXPECT_EQ(list.SelectedId(), -1);
  list.SetSelectedId(10003);
  EXPECT_EQ(list.SelectedId(), 10003);
  list.ClearSelection();
  EXPECT_EQ(list.SelectedId(), -1);
  EXPECT_FALSE(list.IsSpriteVisible(list.SelectionBar()));
}

TEST_F(ListTest, RowIdsAreCarriedByRowObjectsOnly) {
  Build();
  PlaceColumns();
  list.ShowRow(1, true);
  list.SetRowId(1, 10046);
  EXPECT_EQ(Show(list.RowName(1)), "10046ID");
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), 10046);
  for (int other : {list.RowSprite(2), list.HeaderCell(3), list.ThumbSprite(),
                    list.CellSprite(1, 2), 0, 99999})
    EXPECT_EQ(list.RowIdOfSprite(other), -1) << other;
  list.ShowRow(1, false);
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), -1);
  EXPECT_EQ(list.SelectRowOfSprite(list.HeaderCell(2)), "BT");
  EXPECT_EQ(list.SelectedId(), -1);
}

TEST_F(ListTest, ShowingTheScrollBarNarrowsRowsSelectionAndInnerLines) {
  Build(19, 6, 2, 0);  // left 2: rows end at the bar, 28 short of the width
  const int firstInnerLine = list.RowTop(2);
  auto widthOfLineAt = [&](int top) {
    for (const auto& [id, o] : box.objects)
      if (o.name == "横线" && o.y == top) return list.SpriteWidth(id);
    return -1;
  };
  for (int twice = 0; twice < 2; ++twice) {
    list.ShowScrollBar(true);
    for (int id : {list.TrackSprite(), list.ThumbSprite(), list.UpButton(), list.DownButton()})
      EXPECT_TRUE(list.IsSpriteVisible(id));
    EXPECT_EQ(list.SpriteWidth(list.RowSprite(5)), 877 - 26 - 2);
    EXPECT_EQ(list.SpriteWidth(list.SelectionBar()), 877 - 28);
    EXPECT_EQ(widthOfLineAt(firstInnerLine), 877 - 28);
  }
  EXPECT_EQ(widthOfLineAt(0), 877);                   // above the header
  EXPECT_EQ(widthOfLineAt(list.RowTop(19) + 27), 877);  // below the last row
  list.ShowScrollBar(false);
  EXPECT_FALSE(list.IsThumbVisible());
  EXPECT_EQ(list.SpriteWidth(list.RowSprite(5)), 877);
  EXPECT_EQ(widthOfLineAt(firstInnerLine), 877);
}

TEST_F(ListTest, ColumnsCellsAndCaptions) {
  Build();
  PlaceColumns();
  EXPECT_EQ(list.ColumnLeft(1), 0);
  EXPECT_EQ(list.ColumnLeft(3), 137);
  EXPECT_EQ(list.ColumnWidth(1), 37);
  EXPECT_EQ(list.ColumnWidth(3), 90);
  EXPECT_EQ(list.ColumnWidth(6), 877 - 26 - 437);  // the bar's width counts, shown or not
  EXPECT_EQ(list.RowTop(0), 0);
  EXPECT_EQ(list.RowTop(1), 27);
  EXPECT_EQ(list.RowTop(3), 81);

  // Cells: column 1 is scaled against the 48 x 48 icons, texts sit at their column's left.
  list.SetCellData(2, 1, "48 x 48 icon");
  EXPECT_EQ(list.SpriteWidth(list.CellSprite(2, 1)), 24);
  EXPECT_EQ(list.SpriteTop(list.CellSprite(2, 1)), 27 + 2 + 27);
  EXPECT_EQ(list.SetCellText(3, 6, "abc", {}), "abc");
  EXPECT_EQ(list.CellText(3, 6), "abc");
  EXPECT_EQ(list.SpriteLeft(list.CellSprite(3, 6)), 440);

  // Centred: one pixel right and two down of the plain centre. "12:00" is 30 x 12.
  list.SetCellText(3, 3, "12:00", {9, false, 0, true, true});
  EXPECT_EQ(list.SpriteLeft(list.CellSprite(3, 3)), 137 + 30 + 1);
  EXPECT_EQ(list.SpriteTop(list.CellSprite(3, 3)), 81 + 7 + 2);
  // A caption is centred the same way without being asked.
  list.SetHeaderText(2, "提醒日期", {9});
  EXPECT_EQ(Show(list.QueryHeaderItem(2)), Show("提醒日期"));
  EXPECT_EQ(list.SpriteLeft(list.HeaderItem(2)), 37 + 26 + 1);
  EXPECT_EQ(list.SpriteTop(list.HeaderItem(2)), 7 + 2);

  // The header cell of a column spans to the x of the line at its right.
  EXPECT_EQ(list.SpriteLeft(list.HeaderCell(2)), 40);
  EXPECT_EQ(list.SpriteWidth(list.HeaderCell(2)), 137);
  EXPECT_EQ(list.SpriteWidth(list.HeaderCell(6)), 877 - 437);

  list.ShowRow(3, true);
  list.ShowColumn(6, false);
  EXPECT_FALSE(list.IsSpriteVisible(list.CellSprite(3, 6)));
  EXPECT_TRUE(list.IsSpriteVisible(list.CellSprite(3, 5)));
}

TEST_F(ListTest, FittedCellTextsAreCutToTheColumnWidth) {
  // Column 2 is 105 wide and a blank 6: 16 single-byte characters fit.
  list.Create(box, 19, 3, 0, 0, 877, 540, 27, true, FakePictures());
  list.SetColumn(2, 40, 2);
  list.SetColumn(3, 145, 2);
  ASSERT_EQ(list.ColumnWidth(2), 105);
  const struct {
    std::string text, shown;
  } cases[] = {
      {"abcdefghijklmnopqrst", "abcdefghijklmn..."},
      {"abc\r\ndef", "abc\r"},
      {"abcdefghijklmnop", "abcdefghijklmnop"},
      {"一二三四五六七八九", "一二三四五六七..."},
      {"a一二三四五六七八九", "a一二三四五六..."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Show(list.SetCellText(1, 2, c.text, {}, true)), Show(c.shown));
    EXPECT_EQ(Show(list.CellText(1, 2)), Show(c.shown));
  }
}

TEST(FitTextTest, TitlesAndCategoriesAreCutAtTheirByteLimits) {
  const std::string chinese = "提醒";  // two characters of two bytes
  const struct {
    std::string text;
    int limit;
    std::string shown;
  } cases[] = {
      {std::string(80, 'a'), 76, std::string(76, 'a') + "..."},
      {std::string(76, 'a'), 76, std::string(76, 'a')},
      // The 76th byte would be the first half of a character.
      {std::string(75, 'a') + chinese, 76, std::string(75, 'a') + "..."},
      {std::string(10, 'a') + "\r\n" + std::string(90, 'b'), 76, std::string(10, 'a') + "\r"},
      {"工作事务" + chinese + "x", 16, "工作事务提醒x"},
      {"工作事务安排计划" + chinese, 16, "工作事务安排计划..."},
      {"a工作事务安排计划x", 16, "a工作事务安排计..."},
      {"ab\r\ncd", 16, "ab\r"},
      {std::string(20, 'a') + "\r\n", 16, std::string(16, 'a') + "..."},  // break past the limit
      {"", 16, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Show(FitTextToBytes(c.text, c.limit)), Show(c.shown)) << Show(c.text);
}

TEST_F(ListTest, EmptyingTheListHidesEverythingAndResetsTheRange) {
  Build();
  PlaceColumns();
  NewQuery(30);
  list.SetSelectedId(10002);
  list.RestoreSelection();
  list.EmptyList();
  EXPECT_EQ(list.CellText(2, 6), "");
  EXPECT_FALSE(list.IsSpriteVisible(list.RowSprite(2)));
  EXPECT_FALSE(list.IsSpriteVisible(list.SelectionBar()));
  EXPECT_FALSE(list.IsThumbVisible());
  EXPECT_EQ(list.SelectedId(), -1);
  EXPECT_EQ(list.ScrollMin(), 1);
  EXPECT_EQ(list.ScrollMax(), 1);
}

TEST_F(ListTest, ButtonsChangePicturesAndReleaseClearsBothPressedFlags) {
  Build();
  const int down = list.DownButton();
  list.OnSpriteEnter(down);
  EXPECT_EQ(Obj(down).picture, "20 x 20 down hover");
  list.OnScrollButtonPress(down);
  EXPECT_EQ(Obj(down).picture, "20 x 20 down pressed");
  list.OnSpriteRelease(down);
  EXPECT_EQ(Obj(down).picture, "20 x 20 down hover");
  list.OnScrollButtonLeave(down);
  EXPECT_EQ(Obj(down).picture, "20 x 20 down normal");

  list.OnScrollButtonPress(list.TrackSprite());
  EXPECT_TRUE(list.IsTrackPressed());
  list.OnScrollButtonPress(list.ThumbSprite());
  EXPECT_TRUE(list.IsThumbPressed());
  // Released over any object, even one the list did not make.
  list.OnSpriteRelease(4242);
  EXPECT_FALSE(list.IsTrackPressed());
  EXPECT_FALSE(list.IsThumbPressed());
  // Leaving the thumb ends a drag; leaving the track does not end a track press.
  list.OnScrollButtonPress(list.ThumbSprite());
  list.OnScrollButtonPress(list.TrackSprite());
  list.OnScrollButtonLeave(list.ThumbSprite());
  list.OnScrollButtonLeave(list.TrackSprite());
  EXPECT_FALSE(list.IsThumbPressed());
  EXPECT_TRUE(list.IsTrackPressed());

  // A drop button of the header runs its routine on release.
  int clicks = 0;
  const int drop = list.CreateHeaderDropButton(30, 6, [&] { ++clicks; });
  EXPECT_EQ(Obj(drop).transparency, 30);
  list.OnScrollButtonPress(drop);
  list.OnSpriteRelease(drop);
  EXPECT_EQ(clicks, 1);
  list.MoveHeaderDropButton(1, 50, 7);
  EXPECT_EQ(list.SpriteLeft(drop), 50);
}

// The router, driven by the box's events and the two timers' ticks.
class RouterTest : public ListTest {
 protected:
  void SetUp() override {
    Build();
    PlaceColumns();
    NewQuery(40);
    list.SetHeaderText(4, "提醒方式", {});
  }
  ListRoutes Routes() {
    ListRoutes r;
    r.showPage = [this](int first) {
      pages.push_back(first);
      Fill(first, 40);
    };
    r.headerClicked = [this](int column, const std::string& caption) {
      sorted.push_back(std::to_string(column) + ":" + caption);
    };
    r.openRowMenu = [this] { ++menus; };
    r.openListMenu = [this] { ++listMenus; };
    r.openRecord = [this](int id) { opened.push_back(id); };
    r.setRepeatInterval = [this](int ms) { repeatInterval = ms; };
    r.setRefillInterval = [this](int ms) { refillInterval = ms; };
    return r;
  }
  std::vector<int> pages;
  std::vector<std::string> sorted;
  std::vector<int> opened;
  int menus = 0;
  int listMenus = 0;
  int repeatInterval = 0;
  int refillInterval = 0;
};

TEST_F(RouterTest, ScrollButtonsStepAtOnceAndRepeatAfterFiveIdleTicks) {
  ListEventRouter router(list, Routes());
  router.ObjectPressed(list.DownButton());
  EXPECT_EQ(pages, std::vector<int>{2});
  EXPECT_EQ(repeatInterval, 50);
  for (int i = 0; i < 5; ++i) router.RepeatTick();
  EXPECT_EQ(pages.size(), 1u);
  router.RepeatTick();
  router.RepeatTick();
  EXPECT_EQ(pages, (std::vector<int>{2, 3, 4}));
  router.ObjectReleased(list.DownButton());
  EXPECT_EQ(repeatInterval, 0);
  router.RepeatTick();
  EXPECT_EQ(pages.size(), 3u);

  // Going down the repeat stops itself at the largest first row.
  list.SetScrollPosition(20, 0, false);
  router.ObjectPressed(list.DownButton());
  for (int i = 0; i < 10; ++i) router.RepeatTick();
  EXPECT_EQ(list.ScrollPosition(), 22);
  EXPECT_EQ(pages.back(), 22);
  EXPECT_EQ(repeatInterval, 0);

  // Going up it stops at 1; a press at 1 redraws but never steps below.
  list.SetScrollPosition(2, 0, false);
  router.ObjectPressed(list.UpButton());
  EXPECT_EQ(list.ScrollPosition(), 1);
  for (int i = 0; i < 10; ++i) router.RepeatTick();
  EXPECT_EQ(list.ScrollPosition(), 1);
  EXPECT_EQ(repeatInterval, 0);

  // A release off every object (id 0) still ends the repeat.
  list.SetScrollPosition(10, 0, false);
  router.ObjectPressed(list.UpButton());
  router.ObjectReleased(0);
  EXPECT_FALSE(router.IsRepeating());
  for (int i = 0; i < 10; ++i) router.RepeatTick();
  EXPECT_EQ(list.ScrollPosition(), 9);
}

TEST_F(RouterTest, ThumbDragRefillsOnceThroughTheShortTimer) {
  ListEventRouter router(list, Routes());
  const int top = list.ThumbTop();
  router.ButtonDown(top + 10);
  router.ObjectPressed(list.ThumbSprite());
  router.PointerMoved(top + 10 + 475 / 2);
  EXPECT_EQ(list.ScrollPosition(), 11);
  EXPECT_EQ(refillInterval, 10);
  EXPECT_TRUE(pages.empty());
  router.RefillTick();
  EXPECT_EQ(refillInterval, 0);
  EXPECT_EQ(pages, std::vector<int>{11});
  // A move that keeps the position asks for no refill.
  router.PointerMoved(top + 10 + 475 / 2 + 1);
  EXPECT_EQ(refillInterval, 0);
  router.PointerMoved(top + 10 + 475 + 40);
  EXPECT_EQ(list.ScrollPosition(), 22);
  EXPECT_EQ(list.ThumbTop(), list.TrackTop() + 475);
  router.ObjectReleased(list.ThumbSprite());
  router.ButtonUp(top + 500);
  router.PointerMoved(top + 20);
  EXPECT_EQ(list.ScrollPosition(), 22);
}

TEST_F(RouterTest, TrackClickScrollsToThePointerInEitherEventOrder) {
  for (bool releaseFirst : {false, true}) {
    SCOPED_TRACE(releaseFirst);
    ListEventRouter router(list, Routes());
    list.SetScrollPosition(1, 0, false);
    Fill(1, 40);
    const int y = list.TrackTop() + 475 + 13;
    router.ButtonDown(y);
    router.ObjectPressed(list.TrackSprite());
    if (releaseFirst) router.ObjectReleased(list.TrackSprite());
    router.ButtonUp(y);
    if (!releaseFirst) router.ObjectReleased(list.TrackSprite());
    EXPECT_EQ(list.ScrollPosition(), 22);
    EXPECT_EQ(pages.back(), 22);
    // The next click elsewhere is no track click.
    pages.clear();
    router.ButtonDown(10);
    router.ObjectPressed(list.RowSprite(1));
    router.ObjectReleased(list.RowSprite(1));
    router.ButtonUp(10);
    EXPECT_TRUE(pages.empty());
  }
}

TEST_F(RouterTest, WheelHeaderRightAndDoubleClicks) {
  ListEventRouter router(list, Routes());
  router.Wheel(120);
  EXPECT_EQ(list.ScrollPosition(), 1);  // up at the top stays at 1
  router.Wheel(-120);
  router.Wheel(-240);
  router.Wheel(0);
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 3}));

  router.ObjectPressed(list.HeaderCell(4));
  ASSERT_EQ(sorted.size(), 1u);
  EXPECT_EQ(Show(sorted[0]), Show("4:提醒方式"));

  router.ObjectRightClicked(list.RowSprite(2));
  EXPECT_EQ(menus, 1);
  EXPECT_EQ(list.SelectedId(), 10004);
  // Anywhere but on a row: the list's own menu, and the selection stays.
  router.ObjectRightClicked(list.HeaderCell(2));
  router.ObjectRightClicked(list.CellSprite(2, 3));
  router.ObjectRightClicked(0);
  EXPECT_EQ(menus, 1);
  EXPECT_EQ(listMenus, 3);
  EXPECT_EQ(list.SelectedId(), 10004);

  router.ObjectDoubleClicked(list.RowSprite(3));
  router.ObjectDoubleClicked(list.ThumbSprite());
  EXPECT_EQ(opened, std::vector<int>{10005});
}

TEST_F(RouterTest, RowsAreTintedUnderThePointer) {
  ListEventRouter router(list, Routes());
  router.ObjectEntered(list.RowSprite(1));
  EXPECT_EQ(Obj(list.RowSprite(1)).picture, "2 x 2 hover");
  router.ObjectLeft(list.RowSprite(1));
  EXPECT_EQ(Obj(list.RowSprite(1)).picture, "2 x 2 clear");
}

// The same list on the window layer's animation box, offscreen, driven by the toolkit's
// mouse events; the timers' ticks are fired by hand so that no test waits on the clock.
class ListOnWindowTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    window = platform::ui::Window::FromJson(R"({
      "title": "list", "width": 900, "height": 560, "frameless": true,
      "units": [
        {"kind": "animation_box", "name": "ListBox", "geometry": [0, 0, 877, 540]},
        {"kind": "timer", "name": "RepeatTimer", "interval": 0},
        {"kind": "timer", "name": "RefillTimer", "interval": 0}
      ]})",
                                            "ListWindow");
    ListRoutes routes;
    routes.showPage = [this](int first) { Fill(first); };
    routes.openRecord = [this](int id) { opened.push_back(id); };
    binding = std::make_unique<ListBoxBinding>(*window, "ListBox", "RepeatTimer", "RefillTimer",
                                               list, routes);
    EXPECT_EQ(list.Create(binding->Surface(), 19, 6, 0, 0, 877, 540, 27, true,
                          EmbeddedListPictures()),
              19);
    const int xs[] = {2, 40, 140, 230, 330, 440};
    for (int c = 1; c <= 6; ++c) list.SetColumn(c, xs[c - 1], 2, c == 1 ? 24 : 0, c == 1 ? 24 : 0);
    for (int c = 1; c <= 6; ++c) list.SetColumnPosition(c, xs[c - 1], 6);
    window->Open();
    titles.clear();
    for (int k = 1; k <= 40; ++k) titles.push_back("title " + std::to_string(k));
  }
  void TearDown() override {
    binding.reset();
    window.reset();
    GuiTest::TearDown();
  }
  void Fill(int first) {
    const int count = static_cast<int>(titles.size());
    const int largest = LargestFirstRow(count, list.VisibleRowCount());
    first = ClampFirstRow(first, largest);
    for (int i = 1; i <= list.VisibleRowCount(); ++i) list.ShowRow(i, false);
    for (int i = 1; i <= list.VisibleRowCount() && first - 1 + i <= count; ++i) {
      const int k = first - 1 + i;
      list.ShowRow(i, true);
      list.SetCellText(i, 5, FitTextToBytes(k == 1 ? firstCategory : "category", 16), {});
      list.SetCellText(i, 6, FitTextToBytes(titles[static_cast<std::size_t>(k - 1)], 76), {});
      list.SetRowId(i, 10000 + k);
    }
    FinishListRefill(list, first, largest, count);
  }
  void NewQuery() {
    ResetListForQuery(list, LargestFirstRow(static_cast<int>(titles.size()), 19));
    Fill(1);
  }
  platform::ui::AnimationBox& Box() { return window->UnitAs<platform::ui::AnimationBox>("ListBox"); }
  platform::ui::Timer& Timer(const char* name) { return window->UnitAs<platform::ui::Timer>(name); }
  void Tick(const char* timer) {
    platform::ui::EventArgs args;
    window->Fire(timer, platform::ui::Event::Timer, args);
  }
  // The middle of an object, where a click lands on it.
  int MidX(int id) { return list.SpriteLeft(id) + list.SpriteWidth(id) / 2; }
  int MidY(int id) { return list.SpriteTop(id) + list.SpriteHeight(id) / 2; }

  std::unique_ptr<platform::ui::Window> window;
  std::unique_ptr<ListBoxBinding> binding;
  SkinListView list;
  std::vector<std::string> titles;
  std::string firstCategory = "category";
  std::vector<int> opened;
};

TEST_F(ListOnWindowTest, PicturesHaveTheirNaturalSizesAndTheBarItsPlace) {
  const ListPictures& p = EmbeddedListPictures();
  const struct {
    const std::string* picture;
    int width, height;
  } sizes[] = {{&p.selection, 2, 2},   {&p.rowLine, 1000, 1}, {&p.headerBand, 1000, 26},
               {&p.columnLine, 1, 1000}, {&p.clear, 2, 2},     {&p.rowHover, 2, 2},
               {&p.track, 26, 300},    {&p.up[1], 20, 20},    {&p.down[2], 20, 20},
               {&p.thumb[0], 20, 25},  {&p.dropButton[1], 12, 12}};
  for (const auto& s : sizes) {
    const platform::image::Image img = platform::image::Decode(*s.picture);
    EXPECT_EQ(img.width, s.width);
    EXPECT_EQ(img.height, s.height);
  }
  EXPECT_EQ(list.TrackLength(), 475);
  EXPECT_EQ(list.SpriteHeight(list.TrackSprite()), 540);
  EXPECT_EQ(list.SpriteWidth(list.RowSprite(3)), 877);
  EXPECT_EQ(list.SpriteHeight(list.RowSprite(3)), 26);
  EXPECT_EQ(list.SpriteWidth(list.CellSprite(1, 1)), 0);  // no icon yet
  list.SetCellData(1, 1, p.up[0]);                          // any picture: scaled by half
  EXPECT_EQ(list.SpriteWidth(list.CellSprite(1, 1)), 10);
}

TEST_F(ListOnWindowTest, FirstRowsScrollArithmeticAndCutTexts) {
  NewQuery();
  EXPECT_EQ(list.ScrollMax(), 22);
  EXPECT_TRUE(list.IsThumbVisible());
  EXPECT_EQ(list.SpriteWidth(list.RowSprite(1)), 877 - 26);
  Fill(30);
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), 10022);

  list.SetScrollMax(1);
  EXPECT_EQ(list.SetScrollPosition(7, 0, false), 1);
  EXPECT_EQ(list.ThumbTop(), list.TrackTop());
  EXPECT_EQ(list.DragThumb(400, 3), 1);
  list.SetScrollMax(11);
  list.SetScrollPosition(6, 0, false);
  EXPECT_EQ(list.ThumbTop(), list.TrackTop() + 237);

  titles[0] = std::string(80, 'x');
  titles[1] = std::string(75, 'y') + "提醒";
  titles[2] = "ten bytes!\r\nsecond line";
  firstCategory = "工作事务安排计划提醒";
  NewQuery();
  EXPECT_EQ(list.CellText(1, 6), std::string(76, 'x') + "...");
  EXPECT_EQ(list.CellText(2, 6), std::string(75, 'y') + "...");
  EXPECT_EQ(list.CellText(3, 6), "ten bytes!\r");
  EXPECT_EQ(list.CellText(3, 5), "category");
  EXPECT_EQ(Show(list.CellText(1, 5)), Show("工作事务安排计划..."));
}

TEST_F(ListOnWindowTest, ClicksSelectByIdAndTheSelectionSurvivesRefills) {
  namespace drive = platform::ui::testing;
  NewQuery();
  drive::Click(Box(), 600, MidY(list.RowSprite(5)));
  EXPECT_EQ(list.SelectedId(), 10005);
  const int bar = list.SelectionBar();
  EXPECT_TRUE(list.IsSpriteVisible(bar));
  EXPECT_EQ(list.SpriteTop(bar), list.SpriteTop(list.RowSprite(5)));

  // Three notches down scroll the row away; the bar hides, then follows it back.
  drive::Wheel(Box(), 600, 200, -120);
  drive::Wheel(Box(), 600, 200, -240);
  drive::Wheel(Box(), 600, 200, -120);
  EXPECT_EQ(list.ScrollPosition(), 4);
  EXPECT_TRUE(list.IsSpriteVisible(bar));
  EXPECT_EQ(list.SpriteTop(bar), list.SpriteTop(list.RowSprite(2)));
  for (int i = 0; i < 2; ++i) drive::Wheel(Box(), 600, 200, -120);
  EXPECT_FALSE(list.IsSpriteVisible(bar));
  drive::Wheel(Box(), 600, 200, 120);
  EXPECT_TRUE(list.IsSpriteVisible(bar));
  EXPECT_EQ(list.SelectedId(), 10005);

  // A refill with more records keeps it; a double click opens the record under the pointer.
  titles.push_back("41");
  Fill(list.ScrollPosition());
  EXPECT_EQ(list.SpriteTop(bar), list.SpriteTop(list.RowSprite(1)));
  drive::DoubleClick(Box(), 600, MidY(list.RowSprite(7)));
  EXPECT_EQ(opened, std::vector<int>{10011});
}

TEST_F(ListOnWindowTest, ScrollButtonTrackAndThumbThroughTheToolkit) {
  namespace drive = platform::ui::testing;
  NewQuery();
  const int down = list.DownButton();
  drive::Press(Box(), MidX(down), MidY(down));
  EXPECT_EQ(list.ScrollPosition(), 2);
  EXPECT_EQ(Timer("RepeatTimer").Interval(), 50);
  Timer("RepeatTimer").SetInterval(0);  // from here the ticks come by hand only
  for (int i = 0; i < 7; ++i) Tick("RepeatTimer");
  EXPECT_EQ(list.ScrollPosition(), 4);
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), 10004);
  drive::Release(Box(), MidX(down), MidY(down));
  EXPECT_EQ(Timer("RepeatTimer").Interval(), 0);

  // A click on the track low down centres the thumb there.
  const int x = MidX(list.TrackSprite());
  drive::Click(Box(), x, list.TrackTop() + 475 + 13);
  EXPECT_EQ(list.ScrollPosition(), 22);
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(19)), 10040);

  // The thumb dragged to the top refills once through the short timer.
  const int thumbY = list.ThumbTop() + 5;
  drive::Press(Box(), MidX(list.ThumbSprite()), thumbY);
  EXPECT_TRUE(list.IsThumbPressed());
  drive::MoveMouse(Box(), MidX(list.ThumbSprite()), thumbY - 240);
  EXPECT_EQ(Timer("RefillTimer").Interval(), 10);
  Tick("RefillTimer");
  EXPECT_EQ(Timer("RefillTimer").Interval(), 0);
  drive::Release(Box(), MidX(list.ThumbSprite()), list.ThumbTop() + 5);
  EXPECT_FALSE(list.IsThumbPressed());
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), 10000 + list.ScrollPosition());
  EXPECT_LT(list.ScrollPosition(), 22);
}

}  // namespace
}  // namespace workmemo
