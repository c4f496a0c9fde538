// The window layer offscreen: templates, units, events, timers, modal loops, fonts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "gui_test.h"
#include "platform/image/image.h"
#include "platform/text/text.h"
#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/widgets.h"
#include "platform/ui/window.h"

namespace {

using namespace platform::ui;
namespace drive = platform::ui::testing;

// Names and texts cross the layer as GB18030; this file is UTF-8.
std::string G(const char* utf8) { return platform::text::FromUtf8(utf8); }

class WindowTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    window = LoadWindow("UnitKindsWindow");
  }
  std::unique_ptr<Window> window;
};

TEST_F(WindowTest, UnitsComeFromTheTemplate) {
  struct Case {
    const char* name;
    UnitKind kind;
    int x, y, w, h;
    const char* tag;
    const char* text;
    bool visible;
  };
  const Case cases[] = {
      {"背景动画框", UnitKind::AnimationBox, 0, 0, 460, 260, "", "", true},
      {"标题标签", UnitKind::TransparentLabel, 28, 8, 200, 16, "", "提示：", true},
      {"状态标签", UnitKind::Label, 10, 230, 300, 20, "渐变标签背景颜色", "[定时提醒]", true},
      {"标题编辑框", UnitKind::EditBox, 20, 40, 200, 22, "", "标题", true},
      {"内容编辑框", UnitKind::EditBox, 20, 70, 200, 60, "N", "", true},
      {"超级编辑框1", UnitKind::RichEditBox, 4, 2000, 452, 170, "", "", false},
      {"重复方式组合框", UnitKind::ComboBox, 240, 40, 120, 22, "组合", "一次", true},
      {"图标图片框", UnitKind::PictureBox, 240, 70, 48, 48, "背景图片", "", true},
      {"外形框1", UnitKind::ShapeBox, 300, 70, 60, 40, "N1", "", true},
      {"确定按钮", UnitKind::PictureButton, 196, 196, 68, 24, "确定", "", true},
      {"子窗口背景画板", UnitKind::DrawPanel, 370, 70, 80, 80, "", "", true},
  };
  EXPECT_EQ(window->Width(), 460);
  EXPECT_EQ(window->Height(), 260);
  EXPECT_TRUE(window->IsFrameless());
  EXPECT_EQ(window->Title(), G("单元样板"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Unit& unit = window->Unit(G(c.name));
    EXPECT_EQ(unit.Kind(), c.kind);
    EXPECT_EQ(unit.Left(), c.x);
    EXPECT_EQ(unit.Top(), c.y);
    EXPECT_EQ(unit.Width(), c.w);
    EXPECT_EQ(unit.Height(), c.h);
    EXPECT_EQ(unit.Tag(), G(c.tag));
    EXPECT_EQ(unit.Text(), G(c.text));
    EXPECT_EQ(unit.IsVisible(), c.visible);
  }
  EXPECT_EQ(window->Unit(G("时钟1")).Kind(), UnitKind::Timer);
  EXPECT_EQ(window->Unit(G("菜单2")).Kind(), UnitKind::Menu);
  EXPECT_EQ(window->Unit(G("关于")).Kind(), UnitKind::MenuItem);
  EXPECT_EQ(window->Unit(G("通用对话框1")).Kind(), UnitKind::FileDialog);
}

TEST_F(WindowTest, FontsColoursAndItems) {
  const Font title = window->Unit(G("标题标签")).GetFont();
  EXPECT_EQ(title.name, G("宋体"));
  EXPECT_EQ(title.size, 10);
  EXPECT_TRUE(title.bold);
  EXPECT_EQ(window->Unit(G("标题标签")).ForegroundColour(), Rgb(255, 255, 255));
  EXPECT_EQ(window->Unit(G("标题编辑框")).GetFont().size, 9);  // the templates' default

  auto& combo = window->UnitAs<ComboBox>(G("重复方式组合框"));
  EXPECT_EQ(combo.GetFont().name, "Arial");
  ASSERT_EQ(combo.ItemCount(), 3);
  EXPECT_EQ(combo.ItemText(2), G("每周"));
  EXPECT_EQ(combo.ItemText(3), "");
  EXPECT_EQ(combo.CurrentIndex(), 0);

  auto& label = window->UnitAs<Label>(G("状态标签"));
  ASSERT_TRUE(label.HasGradient());
  EXPECT_EQ(label.GradientColour(2), Rgb(0xEF, 0xEF, 0xEF));

  auto& shape = window->UnitAs<ShapeBox>(G("外形框1"));
  EXPECT_EQ(shape.FillColour(), Rgb(255, 255, 255));
  EXPECT_EQ(shape.LineColour(), Rgb(128, 128, 128));

  auto& menu = window->UnitAs<Menu>(G("菜单2"));
  ASSERT_EQ(menu.Items().size(), 3u);  // the separator is no unit
  ASSERT_EQ(menu.Items()[1]->SubItems().size(), 2u);
  EXPECT_TRUE(window->UnitAs<MenuItem>(G("字体11")).IsChecked());
  EXPECT_EQ(window->UnitAs<MenuItem>(G("字体11")).Text(), G("11 (默认)"));
  EXPECT_EQ(menu.Colours().selection, Rgb(255, 165, 0));
}

TEST_F(WindowTest, UnitsOfOneKindInTemplateOrder) {
  const auto edits = window->UnitsOfKind(UnitKind::EditBox);
  ASSERT_EQ(edits.size(), 2u);
  EXPECT_EQ(edits[0]->Name(), G("标题编辑框"));
  EXPECT_EQ(edits[1]->Name(), G("内容编辑框"));
  const auto items = window->UnitsOfKind(UnitKind::MenuItem);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[2]->Name(), G("字体9"));
  EXPECT_TRUE(window->UnitsOfKind(UnitKind::Label).size() == 1);
}

TEST_F(WindowTest, AMissingUnitOrUnknownKindFailsNamingWindowAndUnit) {
  try {
    window->Unit(G("不存在按钮"));
    FAIL() << "no error";
  } catch (const TemplateError& e) {
    EXPECT_NE(std::string(e.what()).find("UnitKindsWindow"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("不存在按钮"), std::string::npos);
  }
  EXPECT_THROW(window->On(G("不存在按钮"), Event::Clicked, [](EventArgs&) {}), TemplateError);
  EXPECT_THROW(window->UnitAs<Timer>(G("确定按钮")), TemplateError);
  try {
    Window::FromJson(R"({"units": [{"kind": "slider", "name": "滑块1"}]})", "Broken");
    FAIL() << "no error";
  } catch (const TemplateError& e) {
    EXPECT_NE(std::string(e.what()).find("Broken"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("滑块1"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("slider"), std::string::npos);
  }
  EXPECT_THROW(Window::FromJson("{", "Broken"), TemplateError);
  EXPECT_THROW(Window::Load("NoSuchWindow"), TemplateError);
}

TEST_F(WindowTest, EditBoxesHandOutCrLf) {
  auto& multi = window->UnitAs<EditBox>(G("内容编辑框"));
  auto& rich = window->UnitAs<RichEditBox>(G("超级编辑框1"));
  for (Unit* unit : {static_cast<Unit*>(&multi), static_cast<Unit*>(&rich)}) {
    SCOPED_TRACE(static_cast<int>(unit->Kind()));
    for (const char* given : {"第一行\n第二行\n", "第一行\r\n第二行\r\n", "第一行\r第二行\r"}) {
      unit->SetText(G(given));
      EXPECT_EQ(unit->Text(), G("第一行\r\n第二行\r\n"));
    }
  }
  auto& single = window->UnitAs<EditBox>(G("标题编辑框"));
  single.SetText(G("会议"));
  single.SelectAll();
  EXPECT_EQ(single.SelectedText(), G("会议"));
}

TEST_F(WindowTest, PasswordBoxesShowAStarForEachCharacter) {
  auto w = Window::FromJson(
      R"({"units": [{"kind": "edit", "name": "pw", "geometry": [0, 0, 120, 20], "password": true}]})", "Password");
  auto& box = w->UnitAs<EditBox>("pw");
  box.SetText(G("ab9会"));
  auto* edit = qobject_cast<QLineEdit*>(detail::UnitAccess::WidgetOf(box));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->displayText(), QStringLiteral("****"));
  EXPECT_EQ(box.Text(), G("ab9会"));
}

TEST_F(WindowTest, RichEditDisplayLinesWrapAtTheBoxWidth) {
  auto& rich = window->UnitAs<RichEditBox>(G("超级编辑框1"));
  std::string longLine;
  for (int i = 0; i < 60; ++i) longLine += G("字");
  rich.SetText(longLine + "\r\n" + G("短行"));
  const auto lines = rich.DisplayLines();
  ASSERT_GE(lines.size(), 3u);
  std::string joined;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) joined += lines[i];
  EXPECT_EQ(joined, longLine);
  EXPECT_EQ(lines.back(), G("短行"));
}

// Paints the label black on white over everything else in a 300 x 160 area at the window's
// corner and answers, for each run of rows holding ink, its top row and its ink's
// horizontal middle.
struct InkBand {
  int top;
  int middle;
};
std::vector<InkBand> LabelInkBands(Window& window, Label& label, std::string_view text, bool wrap,
                                   int width = 300) {
  label.ClearGradient();
  label.SetBackgroundColour(Rgb(255, 255, 255));
  label.SetForegroundColour(Rgb(0, 0, 0));
  label.SetFont({G("宋体"), 11});
  label.SetGeometry(0, 0, width, 160);
  label.SetWordWrap(wrap);
  label.BringToTop();
  label.SetText(text);
  const auto png = platform::image::Decode(window.SnapshotPng());
  std::vector<InkBand> bands;
  bool inBand = false;
  for (int y = 0; y < 160; ++y) {
    int left = width, right = -1;
    for (int x = 0; x < width; ++x) {
      if (((png.at(x, y) >> 8) & 0xFF) < 128) {
        left = std::min(left, x);
        right = x;
      }
    }
    if (right >= 0 && !inBand) bands.push_back({y, 0});
    if (right >= 0) bands.back().middle = (left + right) / 2;
    inBand = right >= 0;
  }
  return bands;
}

// An 11-point face on the test screen, in pixels.
int ElevenPointPixels() { return QFontInfo(QFont(QStringLiteral("serif"), 11)).pixelSize(); }

TEST_F(WindowTest, LinesOfALabelStandAboutOneAndAThirdFontSizesApart) {
  auto& label = window->UnitAs<Label>(G("状态标签"));
  const int px = ElevenPointPixels();
  const auto single = LabelInkBands(*window, label, G("田田"), false);
  ASSERT_EQ(single.size(), 1u);

  // Hard line breaks; the same glyph on each line so that the bands' tops are the pitch.
  const auto broken = LabelInkBands(*window, label, G("田田\r\n田田\r\n田田"), false);
  ASSERT_EQ(broken.size(), 3u);
  const int pitch = broken[1].top - broken[0].top;
  EXPECT_GE(pitch, static_cast<int>(1.25 * px));  // tight lines stood one font size apart
  EXPECT_LT(pitch, 2 * px);
  EXPECT_EQ(broken[2].top - broken[1].top, pitch);
  // The first line stays where a single line sits.
  EXPECT_EQ(broken[0].top, single[0].top);

  // Lines that wrap at the label's width are spaced alike.
  std::string longLine;
  for (int i = 0; i < 8; ++i) longLine += G("田");
  const auto wrapped = LabelInkBands(*window, label, longLine, true, 4 * px);
  ASSERT_GE(wrapped.size(), 2u);
  EXPECT_EQ(wrapped[1].top - wrapped[0].top, pitch);
  EXPECT_EQ(wrapped[0].top, single[0].top);
}

TEST_F(WindowTest, ASpacedLabelKeepsItsAlignment) {
  auto& label = window->UnitAs<Label>(G("状态标签"));
  label.SetAlignment(Align::Centre);
  const auto centred = LabelInkBands(*window, label, G("田\r\n田田田田田"), true);
  ASSERT_EQ(centred.size(), 2u);
  EXPECT_NEAR(centred[0].middle, 150, 2);
  EXPECT_NEAR(centred[1].middle, 150, 2);
  label.SetAlignment(Align::Right);
  const auto right = LabelInkBands(*window, label, G("田\r\n田田田田田"), true);
  ASSERT_EQ(right.size(), 2u);
  EXPECT_GT(right[0].middle, 280);
  EXPECT_GT(right[1].middle, 240);
}

TEST_F(WindowTest, TimersTickAndIntervalZeroStops) {
  auto& timer = window->UnitAs<Timer>(G("时钟1"));
  EXPECT_FALSE(timer.IsRunning());
  int ticks = 0;
  window->On(G("时钟1"), Event::Timer, [&](EventArgs&) { ++ticks; });
  timer.SetInterval(5);
  EXPECT_EQ(timer.Interval(), 5);
  Pump(60);
  EXPECT_GE(ticks, 2);
  timer.SetInterval(0);
  EXPECT_FALSE(timer.IsRunning());
  EXPECT_EQ(timer.Interval(), 0);
  const int stopped = ticks;
  Pump(30);
  EXPECT_EQ(ticks, stopped);
}

TEST_F(WindowTest, AModalBoxAnsweredByTheScriptWhileATimerRuns) {
  auto& timer = window->UnitAs<Timer>(G("时钟1"));
  int ticks = 0;
  window->On(G("时钟1"), Event::Timer, [&](EventArgs&) { ++ticks; });
  timer.SetInterval(5);
  window->Open();

  auto box = LoadWindow("UnitKindsWindow");
  std::vector<std::string> order;
  int ticksWhenOpened = -1;
  box->On({}, Event::Created, [&](EventArgs&) {
    order.push_back("created");
    ticksWhenOpened = ticks;
  });
  box->On({}, Event::Destroying, [&](EventArgs&) { order.push_back("destroying"); });
  box->On(G("确定按钮"), Event::Clicked, [&](EventArgs&) {
    order.push_back("ok");
    box->Close();
  });
  int ticksWhenAnswered = -1;
  script->AnswerWindow(
      [&](Window& w) {
        ticksWhenAnswered = ticks;
        drive::Click(w.Unit(G("确定按钮")), 5, 5);
      },
      60);
  box->OpenModal();
  // The timer kept running inside the modal loop. A loaded machine may run the answer and the
  // due ticks in one wake-up, and a late timer is not called twice: one tick is the proof.
  EXPECT_GT(ticksWhenAnswered, ticksWhenOpened);
  EXPECT_EQ(order, (std::vector<std::string>{"created", "ok", "destroying"}));
  EXPECT_TRUE(box->IsClosed());
  EXPECT_EQ(script->Unanswered(), 0);

  // A modal window with no answer queued closes at once and is counted.
  auto unanswered = LoadWindow("UnitKindsWindow");
  unanswered->OpenModal();
  EXPECT_EQ(script->Unanswered(), 1);
  EXPECT_EQ(script->ModalWindows().size(), 2u);
  timer.SetInterval(0);
}

TEST_F(WindowTest, MessageBoxFileDialogAndMenuTakeScriptedAnswers) {
  script->AnswerMessage();
  ShowSystemMessage(G("读取皮肤文件失败!"), "");
  ASSERT_EQ(script->Messages().size(), 1u);
  EXPECT_EQ(script->Messages()[0], G("读取皮肤文件失败!"));

  auto& dialog = window->UnitAs<FileDialog>(G("通用对话框1"));
  script->AnswerFile(G("/tmp/导出.xls"));
  script->AnswerFile("");
  EXPECT_TRUE(dialog.Run());
  EXPECT_EQ(dialog.FileName(), G("/tmp/导出.xls"));
  EXPECT_FALSE(dialog.Run());
  EXPECT_EQ(script->FileDialogs(), (std::vector<std::string>{G("导出"), G("导出")}));

  int about = 0;
  window->On(G("关于"), Event::Clicked, [&](EventArgs&) { ++about; });
  script->AnswerMenu(G("关于"));
  window->UnitAs<Menu>(G("菜单2")).PopupAtPointer();
  EXPECT_EQ(about, 1);
  EXPECT_EQ(script->Unanswered(), 0);
}

// Every window of the program that draws a caption has the same words as the title the
// window system shows, from the start and after each change of the caption.
TEST(Captions, TheWindowTitleFollowsTheDrawnCaption) {
  const QStringList templates = QDir(QStringLiteral(":/templates")).entryList({QStringLiteral("*.json")});
  int captioned = 0;
  for (const QString& file : templates) {
    const std::string name = platform::text::FromUtf8(file.chopped(5).toStdString());
    if (name == "UnitKindsWindow") continue;  // this test's own template
    auto window = Window::Load(name);
    if (!window->HasUnit(G("标题标签"))) continue;
    ++captioned;
    Unit& caption = window->Unit(G("标题标签"));
    EXPECT_EQ(window->Title(), caption.Text()) << file.toStdString();
    caption.SetText(G("修改记事"));
    EXPECT_EQ(window->Title(), G("修改记事")) << file.toStdString();
  }
  EXPECT_GT(captioned, 0);
  // A label that is not the caption leaves the title alone.
  auto window = Window::FromJson(R"({"title": "t", "units": [
      {"kind": "label", "name": "a", "geometry": [0, 0, 10, 10], "text": "x"}]})",
                                 "t");
  EXPECT_EQ(window->Title(), "t");
}

// A real file dialog is top-most, as the program's boxes are, so neither a top-most editor
// that opened it nor a pop-up coming up meanwhile covers it; it names each filter once, and
// without a folder of the program's it starts in the user's home.
TEST_F(WindowTest, AFileDialogIsTopMostNamesEachFilterOnceAndStartsAtHome) {
  script.reset();  // the real dialog
  QTemporaryDir home;
  const QByteArray savedHome = qgetenv("HOME");
  qputenv("HOME", home.path().toUtf8());
  auto& dialog = window->UnitAs<FileDialog>(G("通用对话框1"));
  dialog.SetDialogKind(FileDialogKind::Save);
  dialog.SetFilter(G("Excel文件 (*.xls)|*.xls|所有文件|*.*"));
  bool topmost = false;
  QString directory;
  QStringList filters;
  QTimer::singleShot(0, [&] {
    auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (shown == nullptr) return;
    topmost = shown->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    directory = shown->directory().absolutePath();
    if (auto* types = shown->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
      for (int i = 0; i < types->count(); ++i) filters << types->itemText(i);
    shown->reject();
  });
  EXPECT_FALSE(dialog.Run());
  qputenv("HOME", savedHome);
  EXPECT_TRUE(topmost);
  EXPECT_EQ(directory.toStdString(), QDir(home.path()).canonicalPath().toStdString());
  EXPECT_EQ(filters.join('|').toStdString(), "Excel文件 (*.xls)|所有文件");
}

// The dialogs and menus that Qt itself draws speak the program's Chinese.
TEST_F(WindowTest, QtsOwnDialogsAndMenusSpeakChinese) {
  script.reset();  // the real dialog, as the user sees it
  QStringList seen;
  QTimer::singleShot(0, [&seen] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) seen << label->text();
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) seen << button->text();
    dialog->close();
  });
  EXPECT_FALSE(window->UnitAs<FileDialog>(G("通用对话框1")).Run());
  ASSERT_FALSE(seen.isEmpty());
  for (const char* text : {"查找范围：", "取消"})
    EXPECT_TRUE(seen.contains(QString::fromUtf8(text))) << text << " in " << seen.join('|').toStdString();

  auto* edit = static_cast<QLineEdit*>(detail::UnitAccess::WidgetOf(window->Unit(G("标题编辑框"))));
  std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
  QStringList items;
  for (const QAction* action : menu->actions()) items << action->text().section('\t', 0, 0);
  EXPECT_TRUE(items.contains(QString::fromUtf8("全选"))) << items.join('|').toStdString();
}

// A click on a ticked item changes its tick only through the item's handler.
TEST_F(WindowTest, AMenuItemsTickFollowsItsHandlerNotTheClick) {
  auto& item = window->UnitAs<MenuItem>(G("字体11"));
  auto* action = static_cast<QAction*>(detail::UnitAccess::ActionOf(item));
  ASSERT_TRUE(action->isCheckable());
  bool refuse = true;
  window->On(G("字体11"), Event::Clicked, [&](EventArgs&) {
    if (!refuse) item.SetChecked(!item.IsChecked());
  });
  action->trigger();  // as a click on it does
  EXPECT_TRUE(item.IsChecked());
  EXPECT_TRUE(action->isChecked());
  refuse = false;
  action->trigger();
  EXPECT_FALSE(item.IsChecked());
  EXPECT_FALSE(action->isChecked());
}

TEST_F(WindowTest, AMenuOpensWithTheCornerItIsAnchoredBy) {
  auto& menu = window->UnitAs<Menu>(G("菜单2"));
  menu.Popup(600, 300, MenuAnchor::TopRight);
  EXPECT_EQ(script->MenuPlaces(), (std::vector<drive::Script::MenuPlace>{{600, 300, MenuAnchor::TopRight}}));

  // Without a script the real menu opens: anchored at its top right it runs left of the point.
  script.reset();
  QMenu* shown = detail::UnitAccess::MenuWidget(menu);
  menu.Popup(600, 300, MenuAnchor::TopRight);
  ASSERT_TRUE(menu.IsShown());
  EXPECT_EQ(shown->geometry().left() + shown->geometry().width(), 600);
  EXPECT_EQ(shown->geometry().top(), 300);
  shown->hide();
  menu.Popup(100, 300);
  EXPECT_EQ(shown->geometry().topLeft(), QPoint(100, 300));
  shown->hide();
}

TEST_F(WindowTest, MouseAndKeysReachTheirHandlers) {
  std::vector<std::string> seen;
  window->On(G("确定按钮"), Event::Clicked, [&](EventArgs&) { seen.push_back("clicked"); });
  window->On(G("标题标签"), Event::LeftDown,
             [&](EventArgs& a) { seen.push_back("down " + std::to_string(a.x) + "," + std::to_string(a.y)); });
  drive::Click(window->Unit(G("确定按钮")), 10, 10);
  drive::Press(window->Unit(G("确定按钮")), 10, 10);
  drive::Release(window->Unit(G("确定按钮")), 100, 100);  // released outside: no click
  drive::Press(window->Unit(G("标题标签")), 7, 3);
  EXPECT_EQ(seen, (std::vector<std::string>{"clicked", "down 7,3"}));

  auto& edit = window->UnitAs<EditBox>(G("标题编辑框"));
  edit.SetText("");
  window->On(G("标题编辑框"), Event::KeyDown, [&](EventArgs& a) { a.handled = a.key == 'B'; });
  drive::Key(edit, 'A');
  drive::Key(edit, 'B');
  EXPECT_EQ(edit.Text(), "A");  // B was swallowed
}

TEST_F(WindowTest, OpacityTopmostScreenAndSnapshot) {
  SetWindowAlpha(*window, 128);
  EXPECT_EQ(window->Opacity(), 128);
  SetWindowAlpha(*window);
  EXPECT_EQ(window->Opacity(), 255);
  window->SetTopmost(true);
  EXPECT_TRUE(window->IsTopmost());
  EXPECT_GT(ScreenWidth(), 0);
  EXPECT_GT(ScreenHeight(), 0);
  EXPECT_GE(TaskbarHeight(), 0);
  const auto png = platform::image::Decode(window->SnapshotPng());
  EXPECT_EQ(png.width, 460);
  EXPECT_EQ(png.height, 260);
  EXPECT_EQ(png.at(100, 150), 0xFF336699u);  // the background box covers the window
}

TEST_F(WindowTest, DrawPanelDrawsOnItsSurface) {
  auto& panel = window->UnitAs<DrawPanel>(G("子窗口背景画板"));
  panel.Clear();
  EXPECT_EQ(panel.PixelAt(5, 5), Rgb(255, 255, 255));
  panel.FillRectangle(0, 0, 10, 10, Rgb(255, 0, 0));
  panel.GradientFill(0, 20, 80, 30, Rgb(0, 0, 0), Rgb(128, 128, 128), Rgb(255, 255, 255));
  EXPECT_LT(Red(panel.PixelAt(40, 21)), Red(panel.PixelAt(40, 48)));
  panel.CopyRectangle(panel, 0, 0, 10, 10, 60, 60);
  EXPECT_EQ(panel.PixelAt(65, 65), Rgb(255, 0, 0));
  panel.SetPen(Rgb(0, 0, 255));
  panel.DrawLine(0, 79, 79, 79);
  EXPECT_EQ(panel.PixelAt(40, 79), Rgb(0, 0, 255));
  EXPECT_GT(panel.TextWidth(G("提示提示")), panel.TextWidth(G("提示")));
  EXPECT_GT(panel.TextHeight(""), 0);
  const auto shot = platform::image::Decode(panel.Capture(55, 55, 10, 10));
  ASSERT_EQ(shot.width, 10);
  EXPECT_EQ(shot.at(5, 5), 0xFFFF0000u);
  EXPECT_EQ(panel.PixelAt(500, 500), 0u);  // outside: nothing, no crash
}

// A panel covered whole by an opaque picture shares its pixels with every other holder of
// them; drawing on the panel then must change the panel alone.
TEST_F(WindowTest, DrawPanelCoveredByAPictureKeepsItsOwnDrawing) {
  auto& panel = window->UnitAs<DrawPanel>(G("子窗口背景画板"));
  auto& box = window->UnitAs<AnimationBox>(G("背景动画框"));
  platform::image::Image picture;
  picture.width = 80;
  picture.height = 80;
  for (int i = 0; i < 80 * 80; ++i) picture.pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8));
  const std::string bytes = platform::image::EncodeBmp(picture);
  box.SetBackgroundPicture(bytes, 0);
  panel.DrawPicture(bytes, 0, 0, 80, 80);
  EXPECT_EQ(platform::image::Decode(panel.Capture(0, 0, 80, 80)).pixels, picture.pixels);

  panel.FillRectangle(0, 0, 10, 10, Rgb(255, 0, 0));
  EXPECT_EQ(panel.PixelAt(5, 5), Rgb(255, 0, 0));
  EXPECT_EQ(platform::image::Decode(box.Capture(5, 5, 1, 1)).at(0, 0), picture.at(5, 5));
  // Drawn again, the picture shows as it was: the panel's drawing never reached it.
  panel.DrawPicture(bytes, 0, 0, 80, 80);
  EXPECT_EQ(platform::image::Decode(panel.Capture(0, 0, 80, 80)).pixels, picture.pixels);
  // A picture of another size is drawn scaled onto the surface, as before.
  panel.DrawPicture(bytes, 0, 0, 40, 40);
  EXPECT_EQ(panel.PixelAt(60, 60), [&] {
    const std::uint32_t p = picture.at(60, 60);
    return Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }());
}

TEST_F(WindowTest, PicturesOfButtonsAndPictureBoxes) {
  auto& button = window->UnitAs<PictureButton>(G("确定按钮"));
  button.SetPictures("normal", "", "pressed");
  EXPECT_EQ(button.NormalPicture(), "normal");
  EXPECT_EQ(button.HoverPicture(), "");
  auto& picture = window->UnitAs<PictureBox>(G("图标图片框"));
  picture.SetPicture("");
  EXPECT_FALSE(picture.IsAnimated());
  // Two frames of a GIF play as an animation.
  const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0,
                               0x21, 0xF9, 4, 0, 10, 0, 0xFF, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,
                               0x21, 0xF9, 4, 0, 10, 0, 0xFF, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x49, 1, 0,
                               0x3B};
  picture.SetPicture(std::string(reinterpret_cast<const char*>(gif), sizeof gif));
  EXPECT_TRUE(picture.IsAnimated());
  EXPECT_EQ(picture.Picture().size(), sizeof gif);
}

// A transparent picture box paints its picture only: a round icon on a gradient shows no
// square corners. A plain one fills its area first.
TEST_F(WindowTest, ATransparentPictureBoxShowsWhatLiesBehindItsClearPixels) {
  auto w = Window::FromJson(R"({"title": "t", "width": 40, "height": 20, "background": "#FF0000", "units": [
      {"kind": "picture_box", "name": "clear", "geometry": [0, 0, 20, 20], "transparent": true},
      {"kind": "picture_box", "name": "plain", "geometry": [20, 0, 20, 20], "background": "#FFFFFF"}]})",
                            "t");
  platform::image::Image half;  // left half clear, right half blue
  half.width = half.height = 20;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) half.pixels.push_back(x < 10 ? 0x00000000u : 0xFF0000FFu);
  const std::string png = platform::image::EncodePng(half);
  w->UnitAs<PictureBox>("clear").SetPicture(png);
  w->UnitAs<PictureBox>("plain").SetPicture(png);
  const auto shot = platform::image::Decode(w->SnapshotPng());
  EXPECT_EQ(shot.at(2, 10), 0xFFFF0000u);   // the window behind
  EXPECT_EQ(shot.at(15, 10), 0xFF0000FFu);  // the picture
  EXPECT_EQ(shot.at(22, 10), 0xFFFFFFFFu);  // the plain box's own colour
  EXPECT_EQ(shot.at(35, 10), 0xFF0000FFu);
}

// A button's picture carries its caption: its text shows only while it has no picture.
TEST_F(WindowTest, AButtonShowsItsPictureWithoutItsText) {
  auto w = Window::FromJson(R"({"title": "t", "width": 68, "height": 24, "background": "#FFFFFF", "units": [
      {"kind": "picture_button", "name": "ok", "geometry": [0, 0, 68, 24], "text": "OK"}]})",
                            "t");
  const auto darkPixels = [&w] {
    const auto shot = platform::image::Decode(w->SnapshotPng());
    return std::count_if(shot.pixels.begin(), shot.pixels.end(), [](std::uint32_t p) { return (p & 0xFF) < 128; });
  };
  EXPECT_GT(darkPixels(), 0);
  platform::image::Image white;
  white.width = 68;
  white.height = 24;
  white.pixels.assign(68 * 24, 0xFFFFFFFFu);
  const std::string png = platform::image::EncodePng(white);
  w->UnitAs<PictureButton>("ok").SetPictures(png, png, png);
  EXPECT_EQ(darkPixels(), 0);
}

// A text drawn in black on white with the Song face at 11 points, as an image to compare.
QImage Drawn(const QString& text) {
  QImage image(64, 24, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QFont song(QString::fromUtf8("宋体"));
  song.setPointSize(11);
  painter.setFont(song);
  painter.setPen(Qt::black);
  painter.drawText(4, 18, text);
  return image;
}

TEST(Fonts, SongReadsRightAndKeepsItsHalfWidthLatinAt96Dpi) {
  EXPECT_EQ(ScreenDpi(), 96);
  Font song{G("宋体"), 9};
  // Latin letters come from a face in which "l" and "1" differ ("Excel" must not read
  // "Exce1", as in the Ming face).
  EXPECT_EQ(ResolvedFontFamily(song), "Inconsolata");
  Font arial{"Arial", 9};
  EXPECT_EQ(ResolvedFontFamily(arial), "Liberation Sans");
  QFont q(QString::fromUtf8("宋体"));
  q.setPointSize(9);
  EXPECT_EQ(QFontInfo(q).pixelSize(), 12);  // 9 points at 96 DPI
  // Latin letters stay half as wide as Chinese ones, so measured layouts hold; Chinese comes
  // from the Ming face.
  for (int points : {9, 10, 11}) {
    q.setPointSize(points);
    const QFontMetricsF m(q);
    EXPECT_DOUBLE_EQ(m.horizontalAdvance(QStringLiteral("Excel")), 5 * m.horizontalAdvance(QString::fromUtf8("工")) / 2)
        << points;
  }
  QFont ming(QStringLiteral("AR PL UMing CN"));
  ming.setPointSize(11);
  QImage inMing(64, 24, QImage::Format_ARGB32);
  inMing.fill(Qt::white);
  {
    QPainter painter(&inMing);
    painter.setFont(ming);
    painter.setPen(Qt::black);
    painter.drawText(4, 18, QString::fromUtf8("工作"));
  }
  EXPECT_EQ(Drawn(QString::fromUtf8("工作")), inMing);
  // A character outside GBK is drawn, not left as the empty box of one no face has.
  const QString outsideGbk = QString::fromUcs4(U"\U00020000", 1);
  const QString noFaceHasIt = QString::fromUcs4(U"\U000FFFFD", 1);
  EXPECT_NE(Drawn(outsideGbk), Drawn(noFaceHasIt));
  EXPECT_NE(Drawn(QString::fromUcs4(U"\U00003400", 1)), Drawn(noFaceHasIt));
}

}  // namespace
