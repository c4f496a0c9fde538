// The animation box offscreen: ids, names, z-order, sizes, capture and mouse events.
#include <gtest/gtest.h>

#include "gui_test.h"
#include "platform/image/image.h"
#include "platform/text/text.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/window.h"

namespace {

using namespace platform::ui;
namespace drive = platform::ui::testing;
using platform::image::Image;

std::string G(const char* utf8) { return platform::text::FromUtf8(utf8); }

// A PNG of one colour (0xAARRGGBB).
std::string Solid(int w, int h, std::uint32_t argb) {
  Image img;
  img.width = w;
  img.height = h;
  img.pixels.assign(static_cast<std::size_t>(w) * h, argb);
  return platform::image::EncodePng(img);
}

class BoxTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    window = LoadWindow("UnitKindsWindow");
    box = &window->UnitAs<AnimationBox>(G("背景动画框"));
  }
  std::unique_ptr<Window> window;
  AnimationBox* box = nullptr;
};

TEST_F(BoxTest, IdsCountFromOneAndAreNeverGivenAgain) {
  EXPECT_EQ(box->CreateObject(0, 0), 1);
  EXPECT_EQ(box->CreateObject(0, 0), 2);
  EXPECT_EQ(box->CreateObject(0, 0), 3);
  box->DeleteObject(3);
  box->DeleteAllObjects();
  EXPECT_EQ(box->CreateObject(0, 0), 4);
  EXPECT_FALSE(box->HasObject(1));
  // Another box starts at 1 again.
  auto other = LoadWindow("UnitKindsWindow");
  EXPECT_EQ(other->UnitAs<AnimationBox>(G("背景动画框")).CreateObject(0, 0), 1);
  // Unknown ids: nothing changes, queries answer 0, empty or -1.
  box->MoveObject(99, 5, 5);
  EXPECT_EQ(box->ObjectLeft(99), 0);
  EXPECT_EQ(box->ObjectWidth(99), 0);
  EXPECT_EQ(box->ObjectName(99), "");
  EXPECT_FALSE(box->IsObjectVisible(99));
}

TEST_F(BoxTest, NamesAreFoundTopmostFirst) {
  const int first = box->CreateObject(0, 0, true, G("按钮"));
  const int second = box->CreateObject(0, 0, true, G("按钮"));
  EXPECT_EQ(box->FindObject(G("按钮")), second);
  box->SetObjectLayer(first, 5);  // now on top
  EXPECT_EQ(box->FindObject(G("按钮")), first);
  box->SetObjectName(first, G("提示内容"));
  EXPECT_EQ(box->FindObject(G("按钮")), second);
  EXPECT_EQ(box->ObjectName(first), G("提示内容"));
  EXPECT_EQ(box->FindObject(G("没有")), -1);
}

TEST_F(BoxTest, LayersOrderDrawingAndHitTesting) {
  const int low = box->CreateObject(10, 10);
  const int high = box->CreateObject(10, 10);
  box->SetObjectPicture(low, Solid(20, 20, 0xFFFF0000));
  box->SetObjectPicture(high, Solid(20, 20, 0xFF00FF00));
  EXPECT_EQ(box->ObjectAt(15, 15), high);
  box->SetObjectLayer(low, 1);
  EXPECT_EQ(box->ObjectIds(), (std::vector<int>{high, low}));
  EXPECT_EQ(box->ObjectAt(15, 15), low);
  box->ShowObject(low, false);
  EXPECT_EQ(box->ObjectAt(15, 15), high);
  EXPECT_EQ(box->ObjectAt(40, 40), 0);
}

TEST_F(BoxTest, SizesAsDrawnAlsoWhenHidden) {
  const int id = box->CreateObject(0, 0, false);
  box->SetObjectPicture(id, Solid(34, 12, 0xFF000000));
  box->ScaleObject(id, 2000, 2000);
  EXPECT_EQ(box->ObjectWidth(id), 68);
  EXPECT_EQ(box->ObjectHeight(id), 24);
  box->ScaleObject(id, 0, 500);  // not taken
  EXPECT_EQ(box->ObjectWidth(id), 68);
  box->ScaleObjectTo(id, 17, 6);
  EXPECT_EQ(box->ObjectWidth(id), 17);
  EXPECT_EQ(box->ObjectHeight(id), 6);

  // An object without picture cannot be scaled to a size (no division by its size 0).
  const int empty = box->CreateObject(0, 0);
  box->SetObjectPicture(empty, "broken bytes");
  box->ScaleObjectTo(empty, 68, 24);
  EXPECT_EQ(box->ObjectWidth(empty), 0);

  const int text = box->CreateObject(0, 0, false);
  box->SetObjectText(text, G("提示"), Font{G("宋体"), 9}, 0);
  const int oneLine = box->ObjectHeight(text);
  EXPECT_GT(oneLine, 0);
  EXPECT_GT(box->ObjectWidth(text), 0);
  box->SetObjectText(text, G("提示\r\n内容"), Font{G("宋体"), 9}, 0);
  EXPECT_GT(box->ObjectHeight(text), oneLine);
  EXPECT_EQ(box->ObjectText(text), G("提示\r\n内容"));
}

TEST_F(BoxTest, CaptureOfAHiddenBoxClippedToIt) {
  box->SetVisible(false);
  const int id = box->CreateObject(10, 10);
  box->SetObjectPicture(id, Solid(4, 4, 0xFFFF0000));
  const Image shot = platform::image::Decode(box->Capture(8, 8, 8, 8));
  ASSERT_EQ(shot.width, 8);
  EXPECT_EQ(shot.at(0, 0), 0xFF336699u);  // the box's background colour
  EXPECT_EQ(shot.at(3, 3), 0xFFFF0000u);
  EXPECT_EQ(platform::image::Decode(box->Capture(455, 250, 20, 20)).width, 5);
  EXPECT_TRUE(box->Capture(500, 0, 10, 10).empty());

  box->SetObjectTransparency(id, 100);
  EXPECT_EQ(platform::image::Decode(box->Capture(10, 10, 1, 1)).at(0, 0), 0xFF336699u);

  box->SetBackgroundPicture(Solid(2, 2, 0xFF00FF00), 1);  // stretched over the box
  EXPECT_EQ(platform::image::Decode(box->Capture(400, 200, 1, 1)).at(0, 0), 0xFF00FF00u);
  EXPECT_EQ(box->BackgroundMode(), 1);
}

TEST_F(BoxTest, MouseEventsCarryTheObjectUnderThePointer) {
  const int id = box->CreateObject(100, 100);
  box->SetObjectPicture(id, Solid(30, 20, 0xFF0000FF));
  std::vector<std::string> seen;
  auto record = [&](const char* what) {
    return [&seen, what](EventArgs& a) { seen.push_back(std::string(what) + " " + std::to_string(a.objectId)); };
  };
  const std::string name = G("背景动画框");
  window->On(name, Event::LeftDown, record("down"));
  window->On(name, Event::LeftUp, record("up"));
  window->On(name, Event::ObjectLeftDown, record("object-down"));
  window->On(name, Event::ObjectLeftUp, record("object-up"));
  window->On(name, Event::ObjectEnter, record("enter"));
  window->On(name, Event::ObjectLeave, record("leave"));

  drive::MoveMouse(*box, 110, 110);
  drive::Click(*box, 110, 110);
  drive::MoveMouse(*box, 5, 5);
  drive::Click(*box, 5, 5);
  EXPECT_EQ(seen, (std::vector<std::string>{"enter 1", "down 0", "object-down 1", "up 0", "object-up 1", "leave 1",
                                            "down 0", "object-down 0", "up 0", "object-up 0"}));
}

}  // namespace
