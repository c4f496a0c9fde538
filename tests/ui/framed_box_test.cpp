#include "ui/framed_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "fake_sprite_surface.h"
#include "test_support.h"

namespace workmemo {
namespace {

using testsupport::Show;

// Pictures of this fake world are texts "W x H"; anything else is no picture.
std::string FakePicture(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// Texts in this box are 7 pixels a byte wide and 13 high.
class BoxFake : public testsupport::FakeSpriteSurface {
 public:
  BoxFake() : FakeSpriteSurface(TextMetric{7, 13}) {}
};

class PanelFake : public FramePanel {
 public:
  void SetVisible(bool v) override { visible = v; }
  void SetSize(int w, int h) override { width = w, height = h; }
  void SetBackgroundColour(std::uint32_t colour) override {
    background = colour;
    lines.clear();
  }
  void SetPenColour(std::uint32_t colour) override { pen = colour; }
  void DrawLine(int x1, int y1, int x2, int y2) override { lines.push_back({x1, y1, x2, y2}); }
  std::string Picture() const override {
    return width > 0 && height > 0 ? FakePicture(width, height) : std::string();
  }
  bool visible = true;
  int width = -1, height = -1;
  std::uint32_t background = 0, pen = 0;
  std::vector<std::vector<int>> lines;
};

// A control that takes what it is given, up to a largest height.
class ControlFake : public FramedControl {
 public:
  explicit ControlFake(int maxHeight = 10000) : maxHeight_(maxHeight) {}
  void SetGeometry(int x, int y, int w, int h) override {
    rect = {x, y, w, std::min(h, maxHeight_)};
  }
  int Left() const override { return rect.x; }
  int Top() const override { return rect.y; }
  int Width() const override { return rect.width; }
  int Height() const override { return rect.height; }
  FrameRect rect{1, 2, 3, 4};

 private:
  int maxHeight_;
};

constexpr std::uint32_t kGrey = 164 | (164 << 8) | (164 << 16);

TEST(FramedBox, GeometryOfFrameLabelAndControl) {
  const std::optional<FrameRect> none;
  struct Case {
    const char* what;
    bool withControl;
    int controlMaxHeight;
    std::optional<FrameRect> rect;
    int labelOffset;
    FrameRect expectedControl;
    FrameRect expectedFrame;
    int labelX, labelY;
  } cases[] = {
      {"the query box", true, 10000, FrameRect{227, 100, 231, 26}, -3, {230, 103, 227, 22},
       {227, 100, 231, 26}, 230, 106},
      {"a control that stays lower: the frame fits the control", true, 18,
       FrameRect{227, 100, 231, 26}, -3, {230, 103, 227, 18}, {227, 100, 231, 22}, 230, 106},
      {"a bare rectangle", false, 0, FrameRect{10, 20, 100, 30}, 0, {}, {10, 20, 100, 30}, 16,
       26},
      {"a bare rectangle, label further right", false, 0, FrameRect{10, 20, 100, 30}, 5, {},
       {10, 20, 100, 30}, 21, 26},
      {"no rectangle: an empty frame at the corner, the control untouched", true, 10000, none,
       0, {1, 2, 3, 4}, {0, 0, 0, 0}, 6, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BoxFake box;
    PanelFake panel;
    ControlFake control(c.controlMaxHeight);
    FramedBox framed;
    std::string name = "查询内容框";
    const int label = framed.FrameControl(box, c.withControl ? &control : nullptr, panel, 60,
                                          name, c.rect, c.labelOffset);
    if (c.withControl) {
      EXPECT_EQ(control.rect, c.expectedControl);
    }
    const FrameRect& f = c.expectedFrame;

    EXPECT_FALSE(panel.visible);
    EXPECT_EQ(panel.width, f.width);
    EXPECT_EQ(panel.height, f.height);
    EXPECT_EQ(panel.background, 0xFFFFFFu);
    EXPECT_EQ(panel.pen, kGrey);
    const std::vector<std::vector<int>> border = {{0, 0, 0, f.height},
                                                  {0, 0, f.width, 0},
                                                  {f.width - 1, 0, f.width - 1, f.height},
                                                  {0, f.height - 1, f.width, f.height - 1}};
    EXPECT_EQ(panel.lines, border);

    ASSERT_EQ(framed.FrameSprites().size(), 1u);
    const int frame = framed.FrameSprites()[0];
    EXPECT_EQ(framed.LabelSprites(), std::vector<int>{label});
    const BoxFake::Object& fo = box.Get(frame);
    EXPECT_EQ(fo.name, name);
    EXPECT_EQ(FrameRect({fo.x, fo.y, box.ObjectWidth(frame), box.ObjectHeight(frame)}), f);
    EXPECT_EQ(fo.picture, panel.Picture());
    EXPECT_TRUE(fo.visible);
    EXPECT_EQ(fo.transparency, 60);

    const BoxFake::Object& lo = box.Get(label);
    EXPECT_EQ(Show(lo.name), Show("查询内容框标签"));
    EXPECT_EQ(std::make_pair(lo.x, lo.y), std::make_pair(c.labelX, c.labelY));
    EXPECT_EQ(lo.picture, "");
    EXPECT_TRUE(lo.visible);
    EXPECT_EQ(lo.transparency, 0);
  }
}

TEST(FramedBox, TransparencyAndName) {
  struct Case {
    std::optional<int> transparency;
    int expected;
  } cases[] = {{std::nullopt, 20}, {0, 20}, {-5, 20}, {1, 1}, {60, 60}, {100, 100}, {101, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.transparency ? std::to_string(*c.transparency) : "left out");
    BoxFake box;
    PanelFake panel;
    FramedBox framed;
    std::string name;
    framed.FrameControl(box, nullptr, panel, c.transparency, name, FrameRect{0, 0, 50, 20});
    EXPECT_EQ(box.Get(framed.FrameSprites()[0]).transparency, c.expected);
    // An empty name is given the default and handed back.
    EXPECT_EQ(Show(name), Show("编辑框"));
    EXPECT_EQ(Show(box.Get(framed.FrameSprites()[0]).name), Show("编辑框"));
    EXPECT_EQ(Show(box.Get(framed.LabelSprites()[0]).name), Show("编辑框标签"));
  }
}

class FramedBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name = "查询内容框";
    label = framed.FrameControl(box, &control, panel, 60, name, FrameRect{227, 100, 231, 26}, -3,
                                {}, [this] { ++presses; });
    frame = framed.FrameSprites()[0];
  }
  BoxFake box;
  PanelFake panel;
  ControlFake control;
  FramedBox framed;
  std::string name;
  int label = 0, frame = 0, presses = 0;
};

TEST_F(FramedBoxTest, RemovedSpritesKeepTheirIdsAndANewFrameAppends) {
  framed.RemoveSprites();
  EXPECT_TRUE(box.objects.empty());
  EXPECT_EQ(framed.FrameSprites(), std::vector<int>{frame});
  EXPECT_EQ(framed.LabelSprites(), std::vector<int>{label});

  std::string again = "查询内容框";
  const int label2 = framed.FrameControl(box, &control, panel, 60, again, FrameRect{0, 0, 9, 9});
  EXPECT_EQ(framed.FrameSprites().size(), 2u);
  EXPECT_EQ(framed.LabelSprites(), (std::vector<int>{label, label2}));
  EXPECT_NE(label2, label);
  // The deleted pair is not found; the new one is.
  EXPECT_EQ(framed.FindFrameSpriteIndex(name), framed.FrameSprites()[1]);
  framed.ShowLabelSprite(name, false);
  EXPECT_FALSE(box.Get(label2).visible);
}

TEST_F(FramedBoxTest, LookupsByName) {
  EXPECT_EQ(framed.FindFrameSpriteIndex(name), frame);
  EXPECT_EQ(framed.FindFrameSpriteIndex("查询内容框标签"), -1);
  EXPECT_EQ(framed.FindFrameSpriteIndex("查询内容"), -1);
  framed.ShowLabelSprite(name, false);
  EXPECT_FALSE(framed.IsSpriteVisible(label));
  EXPECT_TRUE(framed.IsSpriteVisible(frame));
  framed.ShowLabelSprite(name, true);
  EXPECT_TRUE(framed.IsSpriteVisible(label));
  framed.ShowLabelSprite("查询内容框标签", false);  // no frame of that name: nothing
  EXPECT_TRUE(framed.IsSpriteVisible(label));
  EXPECT_EQ(framed.ForwardQuery(frame), name);
}

TEST_F(FramedBoxTest, LabelTextStaysWhereItIsOrCentresOffByOneAndTwo) {
  framed.ForwardAddText(label, "abc", "宋体", 11, 0x0000FF, true);
  EXPECT_EQ(framed.ForwardQueryTwo(label), "abc");
  const BoxFake::Object& o = box.Get(label);
  EXPECT_EQ(std::make_tuple(o.x, o.y, o.textSize, o.bold, o.colour),
            std::make_tuple(230, 106, 11, true, 0x0000FFu));

  // Text 7 pixels a byte wide, 13 high.
  struct Case {
    std::string text;
    bool across, down;
    int left, top, width, height;
    int x, y;
  } cases[] = {
      {"abcd", true, true, 10, 20, 100, 30, 10 + 36 + 1, 20 + 8 + 2},
      {"abcd", true, false, 10, 20, 100, 30, 47, 20},
      {"abcd", false, true, 10, 20, 100, 30, 10, 30},
      {"abc", false, false, 10, 20, 100, 30, 230, 106},
      // Odd negative differences are halved exactly and truncated only at the end:
      // 10 - 10.5 + 1 gives 0 and 0 - 1.5 + 2 gives 0, where halving in integers gives 1.
      {"abc", true, true, 10, 0, 0, 10, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + (c.across ? " across" : "") + (c.down ? " down" : ""));
    box.MoveObject(label, 230, 106);
    framed.AddLabelText(label, c.text, "", 9, 0, false, c.across, c.down, c.left, c.top, c.width,
                        c.height);
    EXPECT_EQ(std::make_pair(framed.SpriteLeft(label), framed.SpriteTop(label)),
              std::make_pair(c.x, c.y));
  }
  framed.AddLabelText(999, "x", "", 9, 0, false, true, true, 0, 0, 10, 10);  // not held: nothing
  EXPECT_EQ(box.objects.count(999), 0u);
}

TEST_F(FramedBoxTest, TheFrameIsNoButton) {
  const std::string picture = box.Get(frame).picture;
  framed.OnSpriteEnter(frame);
  framed.OnSpritePress(frame);
  EXPECT_EQ(presses, 1);
  framed.OnSpriteRelease(frame);
  framed.OnSpriteLeave(frame);
  EXPECT_EQ(box.Get(frame).picture, picture);
  framed.OnSpritePress(12345);  // an id no item carries
  EXPECT_EQ(presses, 1);

  const FramedBox copy = framed;
  EXPECT_EQ(copy.Items().size(), 2u);
  EXPECT_EQ(copy.Items()[0].Name, name);
  EXPECT_EQ(copy.FrameSprites(), framed.FrameSprites());
}

}  // namespace
}  // namespace workmemo
