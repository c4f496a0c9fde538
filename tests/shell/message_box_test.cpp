#include "shell/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui_test.h"
#include "platform/files/resources.h"
#include "platform/image/image.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "platform/ui/app.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/ui_state.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
using testsupport::Show;

ui::AnimationBox& Background(ui::Window& window) {
  return window.UnitAs<ui::AnimationBox>("背景动画框");
}

// Clicks the sprite of that name as the user would.
void ClickSprite(ui::Window& window, std::string_view name) {
  ui::AnimationBox& box = Background(window);
  const int id = box.FindObject(name);
  ASSERT_GT(id, 0) << Show(name);
  ui::testing::Click(box, box.ObjectLeft(id) + 5, box.ObjectTop(id) + 5);
}

// Where a text sprite lies and what it shows, read while its box is open.
struct TextSprite {
  std::string text;
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = false;
};

TextSprite ReadSprite(ui::Window& window, std::string_view name) {
  ui::AnimationBox& box = Background(window);
  const int id = box.FindObject(name);
  if (id <= 0) return {};
  return {box.ObjectText(id), box.ObjectLeft(id), box.ObjectTop(id), box.ObjectWidth(id),
          box.ObjectHeight(id), box.IsObjectVisible(id)};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

class MessageBoxTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    const auto contents = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(contents.has_value());
    SkinEntryNames = contents->names;
    SkinEntryData = contents->data;
    Ui() = UiState();
    Ui().BackgroundPicture = FindSkinEntry("背景图片1");
    Settings() = ProgramSettings();
    Settings().SkinTransparency = 10;
  }
  void TearDown() override {
    SkinEntryNames.clear();
    SkinEntryData.clear();
    Ui() = UiState();
    Settings() = ProgramSettings();
    GuiTest::TearDown();
  }

  // Opens a box through `show`, reads its sprites, then closes it with `button`.
  std::map<std::string, TextSprite> OpenAndRead(const std::function<void()>& show,
                                                std::string_view button = "确定按钮") {
    std::map<std::string, TextSprite> seen;
    script->AnswerWindow([&seen, button](ui::Window& w) {
      for (const char* name : {"提示内容", "提示标题", "提示内容1"}) seen[name] = ReadSprite(w, name);
      ClickSprite(w, button);
    });
    show();
    return seen;
  }
};

TEST_F(MessageBoxTest, ConfirmationAnswersByButton) {
  struct Case {
    const char* button;
    int answer;
  };
  for (const Case& c : {Case{"确定按钮", 1}, Case{"取消按钮", 0}, Case{"关闭按钮", 0}}) {
    Ui().ConfirmAnswer = 7;
    int answer = -1;
    OpenAndRead([&answer] { answer = ShowConfirmBox("是否真的要关闭退出！"); }, c.button);
    EXPECT_EQ(answer, c.answer) << Show(c.button);
    EXPECT_EQ(Ui().ConfirmAnswer, c.answer) << Show(c.button);
  }
  // Closed by the system's close command: no answer.
  script->AnswerWindow([](ui::Window& w) { w.Close(); });
  EXPECT_EQ(ShowConfirmBox("是否真的要关闭退出！"), 0);
  EXPECT_EQ(script->Unanswered(), 0);
}

TEST_F(MessageBoxTest, EnterAnswersOkAndEscapeCancels) {
  for (const auto& [key, answer] : {std::pair{13, 1}, std::pair{27, 0}}) {
    script->AnswerWindow([key](ui::Window& w) { ui::testing::Key(w, key); });
    EXPECT_EQ(ShowConfirmBox("是否真的要关闭退出！"), answer) << key;
    script->AnswerWindow([key](ui::Window& w) { ui::testing::Key(w, key); });
    ShowMessageBox("保存提醒失败!");  // returns: the key closed it
  }
  EXPECT_EQ(script->ModalWindows().size(), 4u);
}

// A box lies over the main window while that is shown, else in the middle of the screen.
TEST_F(MessageBoxTest, ABoxIsCentredOnTheMainWindowOrTheScreen) {
  PlaceWindowsOverMainWindow();  // as the start does
  const auto centreOf = [](ui::Window& w) { return std::pair{w.Left() + w.Width() / 2, w.Top() + w.Height() / 2}; };
  std::pair<int, int> boxCentre;
  const auto readCentre = [&](ui::Window& w) {
    boxCentre = centreOf(w);
    w.Close();
  };
  script->AnswerWindow(readCentre);
  ShowMessageBox("保存提醒失败!");
  EXPECT_EQ(boxCentre, (std::pair{ui::ScreenWidth() / 2, (ui::ScreenHeight() - ui::TaskbarHeight()) / 2}));

  auto main = ui::Window::FromJson(R"({"title": "main", "width": 600, "height": 400, "units": []})", "Main");
  main->Open();
  main->Move(40, 30);
  Startup().MainWindow = main.get();
  script->AnswerWindow(readCentre);
  ShowConfirmBox("是否真的要关闭退出！");
  EXPECT_EQ(boxCentre, centreOf(*main));
  main->Hide();  // in the tray: the screen again
  script->AnswerWindow(readCentre);
  ShowMessageBox("保存提醒失败!");
  EXPECT_EQ(boxCentre, (std::pair{ui::ScreenWidth() / 2, (ui::ScreenHeight() - ui::TaskbarHeight()) / 2}));
  Startup().MainWindow = nullptr;
}

TEST_F(MessageBoxTest, MessageBoxClosesByEitherButtonAndClearsTheAnswer) {
  for (const char* button : {"确定按钮", "关闭按钮"}) {
    OpenAndRead([] { ShowConfirmBox("是否真的要关闭退出！"); });
    ASSERT_EQ(Ui().ConfirmAnswer, 1);
    const auto seen = OpenAndRead([] { ShowMessageBox("保存提醒失败!"); }, button);
    EXPECT_EQ(Show(seen.at("提示标题").text), Show("提示："));
    EXPECT_EQ(Show(seen.at("提示内容").text), Show("保存提醒失败!"));
    EXPECT_EQ(Ui().ConfirmAnswer, 0);
  }
  EXPECT_EQ(script->ModalWindows().size(), 4u);
}

TEST_F(MessageBoxTest, ABoxOpenedWhileAnotherIsOpenIsABoxOfItsOwn) {
  int inner = -1;
  TextSprite outerTitleAfter;
  script->AnswerWindow([&](ui::Window& outer) {
    // A timer asks a question of its own while the first box waits for its answer.
    script->AnswerWindow([](ui::Window& w) { ClickSprite(w, "取消按钮"); });
    inner = ShowConfirmBox("是否真的要删除选中的提醒？", "删除");
    outerTitleAfter = ReadSprite(outer, "提示标题");
    ClickSprite(outer, "确定按钮");
  });
  EXPECT_EQ(ShowConfirmBox("是否真的要关闭退出！"), 1);
  EXPECT_EQ(inner, 0);
  EXPECT_EQ(Ui().ConfirmAnswer, 1);
  EXPECT_EQ(Show(outerTitleAfter.text), Show("提示："));
}

TEST_F(MessageBoxTest, MessageIsWrappedAt452PixelsAndCentredInTheBody) {
  Settings().ListFontSize = 11;
  const auto three = OpenAndRead([] { ShowMessageBox("第一行\r\n第二行较长一些\r\n三"); });
  const TextSprite& block = three.at("提示内容");
  EXPECT_EQ(Lines(block.text).size(), 3u);
  EXPECT_EQ(block.left, (460 - block.width) / 2);
  EXPECT_EQ(block.top, (186 - block.height) / 2 + 20);

  std::string longLine;
  for (int i = 0; i < 60; ++i) longLine += "提醒";
  const auto wrapped = OpenAndRead([&longLine] { ShowMessageBox(longLine, "标题"); });
  const std::vector<std::string> lines = Lines(wrapped.at("提示内容").text);
  EXPECT_GT(lines.size(), 1u);
  std::string joined;
  for (const std::string& line : lines) joined += line;
  EXPECT_EQ(joined, longLine);
  EXPECT_LE(wrapped.at("提示内容").width, kMessageWrapWidth);
  EXPECT_EQ(Show(wrapped.at("提示标题").text), Show("标题"));

  // Before the settings are read the list font size is the default 11.
  Settings().ListFontSize = 0;
  const auto early = OpenAndRead([] { ShowMessageBox("第一行\r\n第二行较长一些\r\n三"); });
  EXPECT_EQ(early.at("提示内容").width, block.width);
  EXPECT_EQ(early.at("提示内容").height, block.height);
}

// Each line of a message lies centred as drawn, and a paragraph too long for one line is cut
// into even lines: a question never ends in a line of one or two characters at the left.
TEST_F(MessageBoxTest, WrappedLinesAreEvenAndEachIsCentred) {
  struct Case {
    const char* message;
    std::size_t lines;
    bool even;  // hard lines keep their own lengths
  };
  const Case cases[] = {
      {"恢复提醒数据将自动覆盖原来的提醒数据！是否真的要恢复提醒数据？", 2, true},
      {"第一行\r\n第二行较长一些\r\n三", 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.message));
    TextSprite block;
    platform::image::Image shot;
    script->AnswerWindow([&](ui::Window& w) {
      block = ReadSprite(w, "提示内容");
      shot = platform::image::Decode(w.SnapshotPng());
      ClickSprite(w, "取消按钮");
    });
    ShowConfirmBox(c.message);
    ASSERT_EQ(Lines(block.text).size(), c.lines);
    // The drawn extent of each line: the black of its glyphs within the block.
    std::vector<std::pair<int, int>> drawn(c.lines, {kMessageWrapWidth, 0});
    for (int y = block.top; y < block.top + block.height; ++y) {
      auto& [left, right] = drawn[static_cast<std::size_t>((y - block.top) * static_cast<int>(c.lines) / block.height)];
      for (int x = block.left; x < block.left + block.width; ++x) {
        const std::uint32_t p = shot.at(x, y);
        if (((p >> 16) & 0xFF) > 0x80 || ((p >> 8) & 0xFF) > 0x80 || (p & 0xFF) > 0x80) continue;
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
    int shortest = kMessageWrapWidth, longest = 0;
    for (const auto& [left, right] : drawn) {
      // Within half a character: the ink of a full-width "？" fills only its left half.
      EXPECT_NEAR(left + right, 460, 15) << left << ".." << right;
      shortest = std::min(shortest, right - left);
      longest = std::max(longest, right - left);
    }
    if (c.even) EXPECT_GE(shortest * 10, longest * 9) << shortest << " of " << longest;
  }
}

TEST_F(MessageBoxTest, TitleAndDetailShowOnlyTheirFirstLine) {
  std::string longTitle;
  for (int i = 0; i < 40; ++i) longTitle += "标题";
  const auto seen = OpenAndRead(
      [&longTitle] { ShowConfirmBox("是否真的要删除选中的提醒？", longTitle, "明天开会\r\n第二行"); });
  const TextSprite& title = seen.at("提示标题");
  EXPECT_FALSE(title.text.empty());
  EXPECT_LT(title.text.size(), longTitle.size());
  EXPECT_EQ(longTitle.compare(0, title.text.size(), title.text), 0);
  const TextSprite& detail = seen.at("提示内容1");
  const TextSprite& message = seen.at("提示内容");
  EXPECT_EQ(Show(detail.text), Show("明天开会"));
  EXPECT_TRUE(detail.visible);
  EXPECT_EQ(detail.left, (460 - detail.width) / 2);
  EXPECT_EQ(detail.top, message.top + message.height + 10);

  const auto none = OpenAndRead([] { ShowConfirmBox("是否真的要关闭退出！"); });
  EXPECT_FALSE(none.at("提示内容1").visible);
}

// The title the window system shows is the caption the box draws.
TEST_F(MessageBoxTest, TheWindowTitleIsTheDrawnCaption) {
  std::string longTitle;
  for (int i = 0; i < 40; ++i) longTitle += "标题";
  const std::vector<std::function<void()>> boxes = {
      [] { ShowMessageBox("保存提醒失败!"); },
      [] { ShowConfirmBox("是否真的要关闭退出！", "删除"); },
      [&longTitle] { ShowConfirmBox("是否真的要关闭退出！", longTitle); },
  };
  for (const auto& show : boxes) {
    std::string drawn, native;
    script->AnswerWindow([&](ui::Window& w) {
      drawn = ReadSprite(w, "提示标题").text;
      native = w.Title();
      ClickSprite(w, "确定按钮");
    });
    show();
    EXPECT_FALSE(drawn.empty());
    EXPECT_EQ(Show(native), Show(drawn));
  }
}

TEST_F(MessageBoxTest, PressOnTheTitleStripDragsButNotNearTheCloseButton) {
  // Offscreen the system cannot move windows; the press must still be harmless everywhere.
  script->AnswerWindow([](ui::Window& w) {
    for (auto [x, y] : {std::pair{410, 20}, std::pair{100, 20}, std::pair{100, 60}})
      ui::testing::Press(Background(w), x, y);
    ClickSprite(w, "确定按钮");
  });
  ShowMessageBox("提示");
  EXPECT_EQ(script->ModalWindows().size(), 1u);
}

// A pixel of a skin picture drawn stretched to width x height, as 0xAARRGGBB.
std::uint32_t SkinPixel(std::string_view entry, int x, int y, int width, int height) {
  const platform::image::Image picture = platform::image::Decode(FindSkinEntry(entry));
  if (picture.empty()) return 0;
  return picture.at(x * picture.width / width, y * picture.height / height);
}

std::uint32_t Mix(std::uint32_t over, std::uint32_t under, int overPercent) {
  std::uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    const int a = static_cast<int>((over >> shift) & 0xFF);
    const int b = static_cast<int>((under >> shift) & 0xFF);
    out |= static_cast<std::uint32_t>((a * overPercent + b * (100 - overPercent) + 50) / 100) << shift;
  }
  return out;
}

// The snapshots of both boxes, drawn as the snapshot tool draws them, show the skin's
// pictures where the frame, the buttons, the title strip and the body lie.
TEST_F(MessageBoxTest, SnapshotsShowTheSkinsColours) {
  const auto backdrop = [](int x, int y) { return SkinPixel("背景图片1", x, y, 460, 260); };
  struct Point {
    int x, y;
    std::uint32_t argb;
  };
  // A sprite button's pixel: its picture over the title strip or the body, by its alpha.
  const auto button = [&backdrop](const char* entry, int left, int top, int dx, int dy, int w,
                                  int h, std::uint32_t under) {
    const std::uint32_t pixel = SkinPixel(entry, dx, dy, w, h);
    return Point{left + dx, top + dy,
                 0xFF000000u | Mix(pixel, under == 0 ? backdrop(left + dx, top + dy) : under,
                                   static_cast<int>((pixel >> 24) * 100 / 255))};
  };
  const std::uint32_t body = Mix(SkinPixel("矩形", 20, 180, 460, 186), backdrop(20, 230), 90);
  const std::vector<Point> common = {
      {0, 0, SkinPixel("横线_黑", 0, 0, 460, 1)},
      {459, 259, SkinPixel("纵线_黑", 0, 259, 1, 260)},
      {300, 30, backdrop(300, 30)},
      // The body: the content rectangle at 10 per cent transparency over the backdrop.
      {20, 230, body},
      button("关闭正常图片", 427, 3, 15, 9, 30, 18, 0),
  };
  std::map<std::string, std::vector<Point>> expected = {
      {"MessageBoxWindow", {button("确定正常图片", 196, 196, 6, 12, 68, 24, body)}},
      {"ConfirmBoxWindow",
       {button("确定正常图片", 151, 196, 6, 12, 68, 24, body),
        button("取消正常图片", 241, 196, 6, 12, 68, 24, body)}},
  };
  const auto setups = ShellWindowSetups();
  ASSERT_EQ(setups.size(), expected.size());
  for (const auto& [name, setup] : setups) {
    auto window = ui::Window::Load(name);
    setup(*window);
    window->Open(false);
    const platform::image::Image shot = platform::image::Decode(window->SnapshotPng());
    ASSERT_EQ(shot.width, 460) << name;
    ASSERT_EQ(shot.height, 260) << name;
    std::vector<Point> points = common;
    points.insert(points.end(), expected.at(name).begin(), expected.at(name).end());
    for (const Point& p : points) {
      const std::uint32_t got = shot.at(p.x, p.y);
      for (int shift : {16, 8, 0}) {
        EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((p.argb >> shift) & 0xFF), 3)
            << name << " at (" << p.x << ", " << p.y << "): " << std::hex << got << " for " << p.argb;
      }
    }
    window->Close();
  }
}

}  // namespace
}  // namespace workmemo
