#include "ui/sprite_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gui_test.h"
#include "platform/image/image.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;

std::string Picture(int width, int height) {
  platform::image::Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width) * height, 0xFF336699u);
  return platform::image::EncodePng(image);
}

class SpriteSetTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    window = ui::Window::FromJson(
        R"({"width": 200, "height": 100, "units": [
              {"kind": "animation_box", "name": "box", "geometry": [0, 0, 200, 100]}]})",
        "SpriteWindow");
    box = &window->UnitAs<ui::AnimationBox>("box");
    set.Bind(*box);
  }

  // A button whose three pictures tell themselves apart by width: 10, 12 and 14 pixels.
  int AddButton(int afterClickMode, std::string hover = Picture(12, 12)) {
    hoverPicture = std::move(hover);
    SpriteSpec spec;
    spec.name = "button";
    spec.x = 20;
    spec.y = 20;
    spec.normal = normal;
    spec.hover = hoverPicture;
    spec.pressed = pressed;
    spec.afterClickMode = afterClickMode;
    spec.click = [this] { log.push_back("click@" + std::to_string(box->ObjectWidth(id))); };
    spec.press = [this] { log.push_back("press@" + std::to_string(box->ObjectWidth(id))); };
    spec.enter = [this] { log.push_back("enter@" + std::to_string(box->ObjectWidth(id))); };
    spec.leave = [this] { log.push_back("leave@" + std::to_string(box->ObjectWidth(id))); };
    id = set.AddPictureSprite(spec);
    return id;
  }

  std::unique_ptr<ui::Window> window;
  ui::AnimationBox* box = nullptr;
  SpriteSet set;
  std::string normal = Picture(10, 10);
  std::string hoverPicture;
  std::string pressed = Picture(14, 14);
  int id = 0;
  std::vector<std::string> log;
};

TEST_F(SpriteSetTest, ButtonFollowsTheMouseAndShowsItsPictureBeforeTheRoutineRuns) {
  struct Case {
    int afterClickMode;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {0, {"enter@12", "press@14", "click@12", "leave@10"}},
      {1, {"enter@12", "press@14", "click@10", "leave@10"}},
  };
  for (const Case& c : cases) {
    set.Clear();
    log.clear();
    AddButton(c.afterClickMode);
    set.OnSpriteEnter(id);
    set.OnSpritePress(id);
    set.OnSpriteRelease(id);
    set.OnSpriteLeave(id);
    EXPECT_EQ(log, c.expected) << "after-click mode " << c.afterClickMode;
  }
}

TEST_F(SpriteSetTest, SpriteWithoutHoverPictureRunsRoutinesButNeverClicks) {
  AddButton(0, std::string());
  set.OnSpriteEnter(id);
  set.OnSpritePress(id);
  set.OnSpriteRelease(id);
  set.OnSpriteLeave(id);
  EXPECT_EQ(log, (std::vector<std::string>{"enter@10", "press@10", "leave@10"}));
}

TEST_F(SpriteSetTest, EmptyPressedPictureShowsNothingWhileHeld) {
  pressed.clear();
  AddButton(0);
  set.OnSpritePress(id);
  EXPECT_EQ(box->ObjectWidth(id), 0);
}

TEST_F(SpriteSetTest, UnknownIdsAndUnboundSetsDoNothing) {
  AddButton(0);
  set.OnSpriteEnter(id + 7);
  set.OnSpriteRelease(id + 7);
  set.PutSpriteText(id + 7, 0, 0, "x", {9, 0, false});
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(box->ObjectIds(), std::vector<int>{id});
  SpriteSet unbound;
  EXPECT_EQ(unbound.AddPictureSprite({.name = "n", .normal = normal}), 0);
  EXPECT_EQ(unbound.SpriteWidth(1), 0);
}

TEST_F(SpriteSetTest, RequestedSizeScalesAgainstTheMeasuredPicture) {
  const std::string picture = Picture(34, 12);
  const int scaled = set.AddPictureSprite(
      {.name = "s", .requestedWidth = 68, .requestedHeight = 24, .normal = picture});
  const int widthOnly = set.AddPictureSprite({.name = "w", .requestedWidth = 68, .normal = picture});
  // An empty picture measures 0: no factor, no division by zero.
  const int empty = set.AddPictureSprite({.name = "e", .requestedWidth = 68, .requestedHeight = 24});
  EXPECT_EQ(set.SpriteWidth(scaled), 68);
  EXPECT_EQ(set.SpriteHeight(scaled), 24);
  EXPECT_EQ(set.Items()[0].Width, 34);
  EXPECT_EQ(set.Items()[0].Height, 12);
  EXPECT_EQ(set.SpriteWidth(widthOnly), 34);
  EXPECT_EQ(set.SpriteWidth(empty), 0);
}

TEST_F(SpriteSetTest, ClearRemovesObjectsOfOtherSetsOnTheSameBox) {
  SpriteSet other;
  other.Bind(*box);
  other.AddPictureSprite({.name = "other", .normal = normal});
  AddButton(0);
  set.Clear();
  EXPECT_TRUE(box->ObjectIds().empty());
  EXPECT_TRUE(set.Items().empty());
}

TEST_F(SpriteSetTest, ClickRoutineMayClearItsOwnSet) {
  SpriteSpec spec{.name = "close", .normal = normal};
  const std::string hover = Picture(12, 12);
  spec.hover = hover;
  bool ran = false;
  spec.click = [this, &ran] {
    set.Clear();
    ran = true;
  };
  const int closeId = set.AddPictureSprite(spec);
  set.OnSpriteRelease(closeId);
  EXPECT_TRUE(ran);
  EXPECT_TRUE(set.Items().empty());
}

TEST_F(SpriteSetTest, BoxEventsReachTheSetThroughTheWindowLayer) {
  RouteSpriteEvents(*box, set);
  AddButton(0);
  ui::testing::MoveMouse(*box, 25, 25);
  ui::testing::Click(*box, 25, 25);
  ui::testing::MoveMouse(*box, 150, 80);
  EXPECT_EQ(log, (std::vector<std::string>{"enter@12", "press@14", "click@12", "leave@10"}));
}

TEST(CentredOffset, TruncatesTheRealQuotientTowardZero) {
  struct Case {
    int start, extent, size, expected;
  };
  const Case cases[] = {
      {80, 20, 12, 84},  {0, -3, 0, -1},  {-2, 3, 0, 0},  {1, -3, 0, 0},
      {-1, -2, 1, -2},   {0, 5, 0, 2},    {-5, 0, 0, -5}, {10, 0, 7, 6},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CentredOffset(c.start, c.extent, c.size), c.expected)
        << c.start << " + (" << c.extent << " - " << c.size << ") / 2";
    EXPECT_EQ(CentredOffset(c.start, c.extent, c.size),
              static_cast<int>(std::trunc(c.start + (c.extent - c.size) / 2.0)));
  }
}

TEST_F(SpriteSetTest, TextSpritesAreCentredAsAsked) {
  const int text = set.AddPictureSprite({.name = "t", .x = 5, .y = 6});
  set.PutSpriteText(text, 10, 80, "Ab", {9, 0, false}, true, 20);
  const int h = set.SpriteHeight(text);
  ASSERT_GT(h, 0);
  EXPECT_EQ(set.SpriteLeft(text), 10);
  EXPECT_EQ(set.SpriteTop(text), CentredOffset(80, 20, h));

  set.MoveSprite(text, 5, 6);
  set.PutCenteredSpriteText(text, "Abc", {9, 0, true}, false, false, 0, 0, 200, 100);
  EXPECT_EQ(set.SpriteLeft(text), 5);
  EXPECT_EQ(set.SpriteTop(text), 6);
  EXPECT_EQ(box->ObjectText(text), "Abc");

  // A text larger than its rectangle lands left of and above it, truncated toward zero.
  set.PutCenteredSpriteText(text, "Abcdefghijk", {11, 0, false}, true, true, -3, -3, 1, 1);
  EXPECT_EQ(set.SpriteLeft(text), CentredOffset(-3, 1, set.SpriteWidth(text)));
  EXPECT_EQ(set.SpriteTop(text), CentredOffset(-3, 1, set.SpriteHeight(text)));
}

}  // namespace
}  // namespace workmemo
