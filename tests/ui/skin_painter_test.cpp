#include "ui/skin_painter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/image/image.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "ui/skin_entry_names.h"
#include "test_support.h"
#include "ui/skin_package.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
using testsupport::Show;

constexpr std::uint32_t kWindowColour = 0x00E8F5E9;  // as the skin stores it: 0xBBGGRR
constexpr std::uint32_t kBackdrop = 0xFF102030;       // the background picture, 0xAARRGGBB
constexpr std::uint32_t kButton = 0xFF00AA00;
constexpr std::uint32_t kChristmasMark = 0xFFEE0000;
constexpr std::uint32_t kSpringMark = 0xFFFF9900;

std::string Picture(int width, int height, std::uint32_t argb) {
  platform::image::Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width) * height, argb);
  return platform::image::EncodePng(image);
}

std::uint32_t PixelOf(std::string_view picture, int x, int y) {
  const platform::image::Image image = platform::image::Decode(picture);
  if (image.empty() || x >= image.width || y >= image.height) return 0;
  return image.at(x, y) | 0xFF000000u;
}

std::uint32_t Argb(ui::Colour c) {
  return 0xFF000000u | (ui::Red(c) << 16) | (ui::Green(c) << 8) | ui::Blue(c);
}

// Templates are UTF-8 JSON, whatever the program's own texts are.
const char* Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

constexpr const char8_t* kTemplate = u8R"({"width": 300, "height": 200, "units": [
  {"kind": "animation_box", "name": "背景动画框", "geometry": [0, 0, 300, 200]},
  {"kind": "animation_box", "name": "按钮动画框", "geometry": [0, 0, 10, 10]},
  {"kind": "animation_box", "name": "子窗口背景动画框", "geometry": [0, 0, 10, 10]},
  {"kind": "picture_button", "name": "plain", "tag": "确定", "geometry": [60, 20, 20, 20]},
  {"kind": "picture_button", "name": "untouched", "tag": "N", "geometry": [90, 20, 20, 20]},
  {"kind": "picture_button", "name": "checked", "tag": "选择选中", "geometry": [120, 20, 20, 20]},
  {"kind": "picture_button", "name": "unchecked", "tag": "选择", "geometry": [150, 20, 20, 20]},
  {"kind": "picture_button", "name": "plainBack", "tag": "确定底色", "geometry": [180, 20, 20, 20]},
  {"kind": "picture_button", "name": "plainBackOn", "tag": "确定底色选中", "geometry": [210, 20, 20, 20]},
  {"kind": "picture_button", "name": "nav", "tag": "定时提醒导航", "geometry": [240, 20, 20, 20]},
  {"kind": "shape", "name": "both", "geometry": [10, 150, 10, 10]},
  {"kind": "shape", "name": "none", "tag": "N", "geometry": [30, 150, 10, 10]},
  {"kind": "shape", "name": "fillOnly", "tag": "N1", "geometry": [50, 150, 10, 10]},
  {"kind": "shape", "name": "lineOnly", "tag": "N2", "geometry": [70, 150, 10, 10]},
  {"kind": "transparent_label", "name": "tl", "geometry": [100, 150, 50, 20], "font": {"name": "宋体", "size": 9}},
  {"kind": "label", "name": "lb", "geometry": [160, 150, 50, 20], "font": {"name": "宋体", "size": 9}},
  {"kind": "draw_panel", "name": "子窗口背景画板", "geometry": [0, 0, 10, 10]}
]})";

class SkinPainterTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    SkinEntryNames.clear();
    SkinEntryData.clear();
    Add("产品名称", "x");
    Add("窗口背景颜色", std::to_string(kWindowColour));
    Add("外形框线条颜色", "255");      // red
    Add("外形框背景颜色", "65280");    // green
    Add("矩形", Picture(4, 4, 0xFFFFFFFF));
    Add("图标", Picture(20, 20, 0xFF0000FF));
    const std::string button = Picture(10, 10, kButton);
    for (const char* tag : {"确定", "选择选中", "选择", "确定底色", "确定底色选中", "定时提醒导航"}) {
      Add(std::string(tag) + "正常图片", button);
      Add(std::string(tag) + "点燃图片", button);
      Add(std::string(tag) + "按下图片", button);
    }
    Add("圣诞图标", Picture(4, 4, kChristmasMark));
    Add("春节图标", Picture(4, 4, kSpringMark));
    window = ui::Window::FromJson(Utf8(kTemplate), "PaintedWindow");
    platform::clock::SetForTest(platform::clock::SerialFromFields({2024, 3, 5, 12, 0, 0}));
  }
  void TearDown() override {
    platform::clock::ClearForTest();
    SkinEntryNames.clear();
    SkinEntryData.clear();
    GuiTest::TearDown();
  }
  static void Add(std::string name, std::string data) {
    SkinEntryNames.push_back(std::move(name));
    SkinEntryData.push_back(std::move(data));
  }
  ui::AnimationBox& Box(const char* name) { return window->UnitAs<ui::AnimationBox>(name); }
  ui::PictureButton& Button(const char* name) { return window->UnitAs<ui::PictureButton>(name); }

  PaintWindowArgs Framed() {
    PaintWindowArgs a;
    a.window = window.get();
    a.backgroundBox = &Box("背景动画框");
    a.compositingBox = &Box("按钮动画框");
    a.childBox = &Box("子窗口背景动画框");
    a.childX = 0;
    a.childY = 50;
    a.childWidth = 300;
    a.childHeight = 126;
    a.backgroundPicture = backdrop;
    a.transparency = 10;
    return a;
  }

  std::string backdrop = Picture(8, 8, kBackdrop);
  std::unique_ptr<ui::Window> window;
  SkinPainter painter;
};

TEST_F(SkinPainterTest, LookupsCopyTheFirstEntryAndReadColoursAsDecimalText) {
  Add("", "first empty");
  Add("", "second empty");
  Add("确定正常图片", "later duplicate");
  EXPECT_EQ(FindSkinEntry(""), "first empty");
  EXPECT_EQ(FindSkinEntry("确定正常图片"), Picture(10, 10, kButton));
  EXPECT_EQ(FindSkinEntry("missing"), "");
  std::string copy = FindSkinEntry("产品名称");
  copy[0] = 'y';
  EXPECT_EQ(FindSkinEntry("产品名称"), "x");
  EXPECT_EQ(SkinColour("窗口背景颜色"), kWindowColour);
  EXPECT_EQ(SkinColour("missing"), 0u);
  Add("odd colour", std::string("255\0junk", 8));
  EXPECT_EQ(SkinColour("odd colour"), 255u);
}

TEST_F(SkinPainterTest, ButtonsAreComposedOverWhatLiesBehindThemByTag) {
  painter.PaintWindow(Framed());
  const std::uint32_t plain = Argb(kWindowColour);
  const std::uint32_t behind = kBackdrop;
  struct Case {
    const char* button;
    std::uint32_t normalBehind, hoverBehind;
  };
  // Above the content rectangle; the skin picture covers the top-left 10 x 10 and (15, 15)
  // shows what lies behind.
  const Case cases[] = {
      {"plain", behind, behind},         {"unchecked", behind, behind},
      {"checked", plain, behind},        {"plainBack", plain, plain},
      {"plainBackOn", plain, plain},
  };
  for (const Case& c : cases) {
    const ui::PictureButton& b = Button(c.button);
    EXPECT_EQ(PixelOf(b.NormalPicture(), 2, 2), kButton) << c.button;
    EXPECT_EQ(PixelOf(b.NormalPicture(), 15, 15), c.normalBehind) << c.button;
    EXPECT_EQ(PixelOf(b.HoverPicture(), 15, 15), c.hoverBehind) << c.button;
    EXPECT_EQ(PixelOf(b.PressedPicture(), 15, 15), c.hoverBehind) << c.button;
  }
  EXPECT_TRUE(Button("untouched").NormalPicture().empty());
  EXPECT_EQ(window->BackgroundColour(), kWindowColour);
}

TEST_F(SkinPainterTest, ShapeTagsChooseWhichColoursTheyTake) {
  const ui::Colour red = ui::Rgb(255, 0, 0), green = ui::Rgb(0, 255, 0);
  for (const char* name : {"both", "none", "fillOnly", "lineOnly"}) {
    auto& shape = window->UnitAs<ui::ShapeBox>(name);
    shape.SetFillColour(1);
    shape.SetLineColour(1);
  }
  painter.PaintWindow(Framed());
  struct Case {
    const char* shape;
    ui::Colour fill, line;
  };
  const Case cases[] = {{"both", green, red}, {"none", 1, 1}, {"fillOnly", green, 1}, {"lineOnly", 1, red}};
  for (const Case& c : cases) {
    const auto& shape = window->UnitAs<ui::ShapeBox>(c.shape);
    EXPECT_EQ(shape.FillColour(), c.fill) << c.shape;
    EXPECT_EQ(shape.LineColour(), c.line) << c.shape;
  }
}

TEST_F(SkinPainterTest, NavigationButtonsCarryTheFestivalOfTheDay) {
  struct Case {
    platform::clock::DateTimeFields day;
    const char* festival;
    std::uint32_t corner;
  };
  const Case cases[] = {
      {{2024, 12, 25, 9, 0, 0}, "圣诞", kChristmasMark},
      {{2024, 2, 10, 9, 0, 0}, "春节", kSpringMark},   // lunar new year's day
      {{2023, 1, 22, 0, 0, 1}, "春节", kSpringMark},
      {{2024, 2, 24, 9, 0, 0}, "", kButton},           // the Lantern Festival is not decorated
      {{2024, 3, 5, 9, 0, 0}, "", kButton},
  };
  for (const Case& c : cases) {
    platform::clock::SetForTest(platform::clock::SerialFromFields(c.day));
    EXPECT_EQ(painter.FestivalToday(), c.festival) << c.day.year << "-" << c.day.month;
    painter.PaintWindow(Framed());
    for (const std::string* picture : {&Button("nav").NormalPicture(), &Button("nav").HoverPicture(),
                                       &Button("nav").PressedPicture()}) {
      EXPECT_EQ(PixelOf(*picture, 1, 1), c.corner) << c.day.year << "-" << c.day.month;
      EXPECT_EQ(PixelOf(*picture, 7, 7), kButton);
    }
    // Only navigation buttons are decorated.
    EXPECT_EQ(PixelOf(Button("plain").NormalPicture(), 1, 1), kButton);
  }
}

TEST_F(SkinPainterTest, LunarFestivalsOfSolarDates) {
  EXPECT_EQ(Show(LunarFestivalOf(2024, 2, 10)), Show("春节"));
  EXPECT_EQ(Show(LunarFestivalOf(2024, 2, 24)), Show("元宵节"));
  EXPECT_EQ(Show(LunarFestivalOf(2024, 9, 17)), Show("中秋节"));
  EXPECT_EQ(Show(LunarFestivalOf(2024, 1, 41)), Show("春节"));  // 41 January is 10 February
  // 1995 had a leap eighth month: its fifteenth day is no festival.
  EXPECT_EQ(Show(LunarFestivalOf(1995, 9, 9)), Show("中秋节"));
  EXPECT_EQ(LunarFestivalOf(1995, 10, 9), "");
  EXPECT_EQ(LunarFestivalOf(1850, 2, 10), "");
}

TEST_F(SkinPainterTest, FramedPaintDrawsTheFrameOnceAndRepaintsAfresh) {
  painter.PaintWindow(Framed());
  ASSERT_EQ(painter.Sprites().Items().size(), 10u);
  EXPECT_GT(painter.BackgroundSpriteId(), 0);
  EXPECT_EQ(painter.Sprites().Items()[0].Name, "背景矩形860");
  EXPECT_EQ(painter.Sprites().Items()[9].Name, "图标");
  EXPECT_EQ(painter.OverlaySpriteId(), painter.Sprites().Items()[9].SpriteId);
  ui::AnimationBox& background = Box("背景动画框");
  EXPECT_EQ(background.BackgroundPicture(), backdrop);
  EXPECT_FALSE(Box("子窗口背景动画框").IsVisible());
  EXPECT_EQ(Box("子窗口背景动画框").Top(), 50);
  EXPECT_TRUE(background.IsObjectVisible(painter.OverlaySpriteId()));
  EXPECT_EQ(Box("按钮动画框").ObjectIds().size(), 1u);  // the marker; the two helpers are gone

  painter.PaintWindow(Framed());
  EXPECT_EQ(painter.Sprites().Items().size(), 10u);
  EXPECT_EQ(background.ObjectIds().size(), 10u);

  painter.ClearSprites();
  EXPECT_EQ(painter.BackgroundSpriteId(), 0);
  EXPECT_TRUE(background.ObjectIds().empty());
}

TEST_F(SkinPainterTest, FontsFollowTheCallAndTransparentLabelsShiftAPixel) {
  auto& tl = window->Unit("tl");
  auto& lb = window->Unit("lb");
  PaintWindowArgs keep = Framed();
  painter.PaintWindow(keep);
  EXPECT_EQ(tl.GetFont().size, 9);
  EXPECT_EQ(lb.GetFont().size, 9);
  EXPECT_EQ(tl.Left(), 100);

  PaintWindowArgs grow = Framed();
  grow.fontSize = 11;
  painter.PaintWindow(grow);
  EXPECT_EQ(tl.GetFont().size, 11);
  EXPECT_EQ(lb.GetFont().size, 11);
  EXPECT_EQ(tl.Left(), 99);
  EXPECT_EQ(tl.Top(), 151);
  EXPECT_EQ(lb.BackgroundColour(), ui::Rgb(0, 255, 0));

  grow.fontSize = 9;
  painter.PaintWindow(grow);
  EXPECT_EQ(tl.Left(), 100);
  EXPECT_EQ(tl.Top(), 150);
}

TEST_F(SkinPainterTest, PageModeUsesTheMainWindowsBoxesAndLeavesItsOwnSetAlone) {
  auto page = ui::Window::FromJson(Utf8(
      u8R"({"width": 100, "height": 60, "units": [
          {"kind": "draw_panel", "name": "子窗口背景画板", "geometry": [5, 5, 10, 10], "visible": false},
          {"kind": "picture_button", "name": "ok", "tag": "确定", "geometry": [10, 10, 20, 20]}]})"),
      "Page");
  SkinPainter main;
  main.PaintWindow(Framed());
  Box("子窗口背景动画框").SetBackgroundPicture(Picture(100, 60, 0xFF445566), 0);
  PaintWindowArgs a = Framed();
  a.window = page.get();
  a.pageMode = 1;
  a.childWidth = 100;
  a.childHeight = 60;
  a.pageDrawPanel = &page->UnitAs<ui::DrawPanel>("子窗口背景画板");
  a.transparency = -1;
  const std::size_t mainObjects = Box("背景动画框").ObjectIds().size();
  painter.PaintWindow(a);
  EXPECT_TRUE(painter.Sprites().Items().empty());
  EXPECT_EQ(painter.BackgroundSpriteId(), 0);
  EXPECT_EQ(Box("背景动画框").ObjectIds().size(), mainObjects);
  const auto& panel = page->UnitAs<ui::DrawPanel>("子窗口背景画板");
  EXPECT_TRUE(panel.IsVisible());
  EXPECT_EQ(panel.Width(), 100);
  EXPECT_EQ(panel.PixelAt(50, 30), kWindowColour);
  // Buttons of a page lie over the main window's child area.
  EXPECT_EQ(PixelOf(page->UnitAs<ui::PictureButton>("ok").HoverPicture(), 15, 15), 0xFF445566u);

  a.transparency = 0;
  const std::string pagePicture = Picture(4, 4, 0xFF778899);
  a.pagePicture = pagePicture;
  painter.PaintWindow(a);
  EXPECT_EQ(panel.PixelAt(50, 30), ui::Rgb(0x77, 0x88, 0x99));
}

// The tray menu lives on a window that is never painted: it takes the skin's menu colours
// on its own, as the menus of painted windows do, and keeps its text colour.
TEST_F(SkinPainterTest, TheTrayMenuTakesTheSkinsMenuColours) {
  Add(std::string(skin::kMenuBackgroundColour), "16777215");
  Add(std::string(skin::kMenuLeftBorderColour), "65280");
  Add(std::string(skin::kMenuSelectionColour), "255");
  Add(std::string(skin::kMenuSeparatorColour), "8421504");
  auto startup = ui::Window::Load("StartupWindow");
  auto& tray = startup->UnitAs<ui::Menu>("菜单");
  const ui::Colour text = tray.Colours().text;
  PaintMenuWithSkin(tray);
  EXPECT_EQ(tray.Colours().background, 0xFFFFFFu);
  EXPECT_EQ(tray.Colours().leftBorder, 65280u);
  EXPECT_EQ(tray.Colours().selection, 255u);
  EXPECT_EQ(tray.Colours().separator, 8421504u);
  EXPECT_EQ(tray.Colours().text, text);
}

TEST_F(SkinPainterTest, CheckButtonsKeepTheirStateInTheTag) {
  auto& b = Button("plain");
  struct Case {
    int on;
    const char* tag;
  };
  for (const Case& c : {Case{1, "选择选中"}, Case{0, "选择"}, Case{2, "选择"}}) {
    EXPECT_EQ(painter.SetButtonPictures(b, c.on), c.on);
    EXPECT_EQ(b.Tag(), c.tag);
    EXPECT_EQ(b.NormalPicture(), FindSkinEntry(std::string(c.tag) + "正常图片"));
    EXPECT_EQ(painter.IsCheckButtonOn(b), c.on == 1 ? 1 : 0);
  }
  b.SetTag("确定");
  EXPECT_EQ(painter.IsCheckButtonOn(b), 0);
  EXPECT_EQ(b.Tag(), "选择");
}

}  // namespace
}  // namespace workmemo
