// helpart: draws the help window's two guide pictures and the tray notice picture.
//
//   helpart <output directory>
//
// Writes guide1.png and guide2.png (860 x 585) and tray_notice.png (294 x 160). Everything
// is drawn here with QPainter: simplified sketches of the program's own windows and menus.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "platform/ui/spaced_text.h"

namespace {

const QColor kInk(0x33, 0x33, 0x33);
const QColor kGreen(0x3C, 0x9A, 0x5F);
const QColor kDarkGreen(0x25, 0x6E, 0x42);
const QColor kPale(0xEE, 0xF7, 0xF0);
const QColor kCallout(0xE0, 0x6A, 0x1B);

QFont Song(int pixels, bool bold = false) {
  // The faces the program's Song text is drawn with: Latin letters that read right first.
  QFont font;
  font.setFamilies({QStringLiteral("Inconsolata"), QStringLiteral("AR PL UMing CN")});
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QFont Hei(int pixels, bool bold = false) {
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::white);
  return image;
}

void Title(QPainter& p, const QString& text, int width) {
  p.setFont(Hei(22, true));
  p.setPen(kDarkGreen);
  p.drawText(QRect(0, 12, width, 32), Qt::AlignHCenter | Qt::AlignVCenter, text);
  p.setPen(QPen(kGreen, 2));
  p.drawLine(40, 50, width - 40, 50);
}

// Wrapped, top-left text with the window layer's comfortable line pitch.
void Paragraph(QPainter& p, const QRect& area, const QString& text) {
  if (!platform::ui::detail::DrawSpacedLines(p, area, Qt::AlignLeft, true, text)) {
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  }
}

// A numbered orange circle that ties a place in a sketch to its explanation.
void Badge(QPainter& p, int cx, int cy, int number) {
  p.setPen(Qt::NoPen);
  p.setBrush(kCallout);
  p.drawEllipse(QPoint(cx, cy), 10, 10);
  p.setPen(Qt::white);
  p.setFont(Hei(13, true));
  p.drawText(QRect(cx - 10, cy - 10, 20, 20), Qt::AlignCenter, QString::number(number));
  p.setBrush(Qt::NoBrush);
}

void Explain(QPainter& p, int x, int y, int number, const QString& text, int width = 300) {
  Badge(p, x + 10, y + 10, number);
  p.setPen(kInk);
  p.setFont(Song(14));
  Paragraph(p, QRect(x + 28, y, width, 64), text);
}

// A window frame with a green title strip.
void WindowFrame(QPainter& p, const QRect& r, const QString& title) {
  p.setPen(QPen(kDarkGreen, 1));
  p.setBrush(kPale);
  p.drawRect(r);
  QLinearGradient strip(r.topLeft(), QPoint(r.left(), r.top() + 24));
  strip.setColorAt(0, kGreen.lighter(120));
  strip.setColorAt(1, kGreen);
  p.setBrush(strip);
  p.drawRect(QRect(r.left(), r.top(), r.width(), 24));
  p.setPen(Qt::white);
  p.setFont(Song(13, true));
  p.drawText(QRect(r.left() + 8, r.top(), r.width() - 16, 24), Qt::AlignVCenter | Qt::AlignLeft, title);
  p.setBrush(Qt::NoBrush);
}

void SmallButton(QPainter& p, const QRect& r, const QString& text) {
  p.setPen(QPen(kDarkGreen, 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(r, 3, 3);
  p.setPen(kInk);
  p.setFont(Song(12));
  p.drawText(r, Qt::AlignCenter, text);
  p.setBrush(Qt::NoBrush);
}

// The main window: title bar buttons, the navigation row and the timed-reminder list.
QImage DrawGuide1() {
  QImage image = Canvas(860, 585);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  Title(p, QStringLiteral("操作指南：主窗口"), 860);

  const QRect win(30, 70, 460, 360);
  WindowFrame(p, win, QStringLiteral("枫汀阁工作备忘录"));
  // Title bar buttons, right to left as the window places them.
  const QString bar[] = {QStringLiteral("×"), QStringLiteral("－"), QStringLiteral("?"),
                         QStringLiteral("≡"), QStringLiteral("皮"), QStringLiteral("月")};
  for (int i = 0; i < 6; ++i) {
    const QRect r(win.right() - 24 - i * 22, win.top() + 3, 20, 18);
    p.setPen(Qt::white);
    p.setBrush(kGreen.darker(115));
    p.drawRect(r);
    p.setFont(Song(11, true));
    p.drawText(r, Qt::AlignCenter, bar[i]);
  }
  p.setBrush(Qt::NoBrush);
  // Navigation row.
  const QString pages[] = {QStringLiteral("定时提醒"), QStringLiteral("到期提醒"),
                           QStringLiteral("记事管理"), QStringLiteral("密码管理"),
                           QStringLiteral("备份数据"), QStringLiteral("高级设置")};
  for (int i = 0; i < 6; ++i) {
    const QRect r(win.left() + 12 + i * 56, win.top() + 32, 50, 46);
    p.setPen(QPen(kGreen, 1));
    p.setBrush(i == 0 ? kGreen.lighter(160) : Qt::white);
    p.drawRoundedRect(r, 4, 4);
    p.setBrush(kGreen);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(r.center().x(), r.top() + 15), 9, 9);
    p.setPen(kInk);
    p.setFont(Song(11));
    p.drawText(QRect(r.left(), r.top() + 27, r.width(), 18), Qt::AlignCenter, pages[i]);
  }
  p.setBrush(Qt::NoBrush);
  // The list of the timed-reminder page.
  const QRect list(win.left() + 12, win.top() + 92, win.width() - 24, 210);
  p.setPen(QPen(kGreen, 1));
  p.setBrush(Qt::white);
  p.drawRect(list);
  p.setBrush(kGreen.lighter(150));
  p.drawRect(QRect(list.left(), list.top(), list.width(), 20));
  p.setPen(kInk);
  p.setFont(Song(11));
  const QString heads[] = {QStringLiteral("提醒日期"), QStringLiteral("提醒时间"), QStringLiteral("提醒方式"),
                           QStringLiteral("提醒类型"), QStringLiteral("提醒标题")};
  for (int i = 0; i < 5; ++i) p.drawText(QRect(list.left() + 8 + i * 84, list.top(), 84, 20), Qt::AlignVCenter, heads[i]);
  const char* rows[][5] = {{"2024-05-06", "09:00:00", "每天", "提醒", "晨会"},
                           {"2024-05-10", "14:30:00", "一次", "提醒", "客户回访"},
                           {"2024-05-31", "18:00:00", "每月", "提醒", "月度报表"},
                           {"2024-06-01", "22:30:00", "一次", "关机", "下班关机"}};
  for (int r = 0; r < 4; ++r) {
    if (r % 2 == 1) p.fillRect(QRect(list.left() + 1, list.top() + 21 + r * 22, list.width() - 2, 22), kPale);
    for (int c = 0; c < 5; ++c) {
      p.drawText(QRect(list.left() + 8 + c * 84, list.top() + 21 + r * 22, 84, 22), Qt::AlignVCenter,
                 QString::fromUtf8(rows[r][c]));
    }
  }
  p.setBrush(Qt::NoBrush);
  // Buttons under the list.
  const QString buttons[] = {QStringLiteral("添加"), QStringLiteral("修改"), QStringLiteral("删除"),
                             QStringLiteral("查询")};
  for (int i = 0; i < 4; ++i) SmallButton(p, QRect(win.left() + 12 + i * 70, win.bottom() - 44, 60, 24), buttons[i]);

  // Badges on the sketch and their explanations on the right.
  Badge(p, win.right() - 80, win.top() - 8, 1);
  Badge(p, win.left() + 8, win.top() + 36, 2);
  Badge(p, list.right() - 6, list.top() + 6, 3);
  Badge(p, win.left() + 300, win.bottom() - 32, 4);
  const int x = 515;
  Explain(p, x, 80, 1, QStringLiteral("标题栏按钮：月历、更换皮肤、菜单、帮助、最小化到托盘和关闭。"));
  Explain(p, x, 150, 2, QStringLiteral("导航按钮：点击切换定时提醒、到期提醒、记事管理、密码管理、备份数据和高级设置页面。"));
  Explain(p, x, 240, 3, QStringLiteral("提醒列表：单击选中一条提醒，双击查看或修改；滚轮翻动列表。"));
  Explain(p, x, 310, 4, QStringLiteral("添加、修改、删除、查询：管理选中的提醒；添加后窗口保持打开，可以连续添加。"));

  // Tips under the sketch.
  p.setPen(QPen(kGreen, 1));
  p.setBrush(kPale);
  p.drawRoundedRect(QRect(30, 450, 800, 112), 6, 6);
  p.setPen(kInk);
  p.setFont(Song(14));
  Paragraph(p, QRect(46, 460, 770, 96),
            QStringLiteral("小提示：\n"
                           "· 菜单中的“列表字体大小”可以把列表文字设为 9、10 或 11 号。\n"
                           "· 点击最小化按钮后程序在托盘中继续运行，到时的提醒照常弹出。\n"
                           "· 用鼠标按住窗口标题栏可以拖动窗口。"));
  return image;
}

void Arrow(QPainter& p, QPoint from, QPoint to) {
  p.setPen(QPen(kCallout, 3));
  p.drawLine(from, to);
  const QPointF d = QPointF(to - from) / std::max(1.0, std::hypot(double(to.x() - from.x()), double(to.y() - from.y())));
  const QPointF n(-d.y(), d.x());
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(QPointF(to) - d * 12 + n * 6);
  head.lineTo(QPointF(to) - d * 12 - n * 6);
  head.closeSubpath();
  p.fillPath(head, kCallout);
}

// Adding a timed reminder in four steps, and the tray icon's menu.
QImage DrawGuide2() {
  QImage image = Canvas(860, 585);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  Title(p, QStringLiteral("操作指南：添加定时提醒与托盘菜单"), 860);

  const std::pair<QString, QString> steps[] = {
      {QStringLiteral("点击“添加”"), QStringLiteral("在定时提醒页面点击“添加”按钮，或在托盘菜单中选择“添加定时提醒”。")},
      {QStringLiteral("选择方式和时间"), QStringLiteral("选择提醒方式（一次、每天、每周、循环、农历等）以及日期和时间。")},
      {QStringLiteral("填写内容"), QStringLiteral("填写标题和内容，可选择提示声音、要打开的程序或网页，或关机等系统任务。")},
      {QStringLiteral("点击“确定”"), QStringLiteral("保存提醒。到时弹出提醒窗口，可选择稍后再提醒或暂停提醒。")},
  };
  for (int i = 0; i < 4; ++i) {
    const QRect box(30 + i * 205, 75, 180, 170);
    p.setPen(QPen(kGreen, 2));
    p.setBrush(kPale);
    p.drawRoundedRect(box, 8, 8);
    Badge(p, box.left() + 20, box.top() + 22, i + 1);
    p.setPen(kDarkGreen);
    p.setFont(Hei(15, true));
    p.drawText(QRect(box.left() + 36, box.top() + 10, box.width() - 40, 26), Qt::AlignVCenter, steps[i].first);
    p.setPen(kInk);
    p.setFont(Song(13));
    Paragraph(p, box.adjusted(12, 46, -12, -8), steps[i].second);
    if (i < 3) Arrow(p, QPoint(box.right() + 3, box.center().y()), QPoint(box.right() + 23, box.center().y()));
  }
  p.setBrush(Qt::NoBrush);

  // The tray icon and its menu.
  p.setPen(kDarkGreen);
  p.setFont(Hei(16, true));
  p.drawText(QRect(30, 265, 400, 28), Qt::AlignVCenter, QStringLiteral("托盘图标的右键菜单"));
  const QRect panel(30, 500, 360, 40);
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(0x40, 0x44, 0x4C));
  p.drawRect(panel);
  p.setBrush(kGreen);
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRect(panel.right() - 60, panel.top() + 9, 22, 22), 4, 4);
  p.setPen(Qt::white);
  p.setFont(Song(12));
  p.drawText(QRect(panel.right() - 32, panel.top(), 32, 40), Qt::AlignCenter, QStringLiteral("9:00"));

  const QString items[] = {QStringLiteral("显示今日提醒窗口"), QString(), QStringLiteral("显示数字时钟"), QString(),
                           QStringLiteral("关机操作  ▸"), QString(), QStringLiteral("提醒操作  ▸"), QString(),
                           QStringLiteral("帮助  ▸"), QString(), QStringLiteral("关于"), QStringLiteral("退出")};
  const QRect menu(160, 292, 160, 200);
  p.setPen(QPen(kDarkGreen, 1));
  p.setBrush(Qt::white);
  p.drawRect(menu);
  p.fillRect(QRect(menu.left() + 1, menu.top() + 1, 22, menu.height() - 1), kPale);
  int y = menu.top() + 4;
  p.setFont(Song(13));
  for (const QString& item : items) {
    if (item.isEmpty()) {
      p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1));
      p.drawLine(menu.left() + 26, y + 3, menu.right() - 4, y + 3);
      y += 7;
      continue;
    }
    p.setPen(kInk);
    p.drawText(QRect(menu.left() + 30, y, menu.width() - 34, 22), Qt::AlignVCenter, item);
    y += 22;
  }
  Arrow(p, QPoint(panel.right() - 49, panel.top() - 4), QPoint(menu.right() + 4, menu.bottom() - 10));

  const int x = 440;
  Explain(p, x, 300, 1, QStringLiteral("单击托盘图标：显示主窗口。"), 380);
  Explain(p, x, 340, 2, QStringLiteral("右键单击托盘图标：打开右键菜单，可显示今日提醒、数字时钟，执行关机、重启、注销，添加提醒或停止音乐播放。"), 380);
  Explain(p, x, 420, 3, QStringLiteral("“退出”会先询问是否关闭；设置了关闭软件密码时需要输入密码。"), 380);
  return image;
}

// The notice picture: the panel with the program's tray icon and a pointer clicking it. Drawn
// at the size of the notice's picture box, so nothing is scaled away (a thin clock digit).
QImage DrawTrayNotice() {
  constexpr int kWidth = 294, kHeight = 160;
  QImage image = Canvas(kWidth, kHeight);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0, QColor(0xF4, 0xFA, 0xF5));
  sky.setColorAt(1, QColor(0xDD, 0xEE, 0xE1));
  p.fillRect(image.rect(), sky);
  // Panel along the bottom with a few icons and the clock, which ends well inside the edge.
  const QRect panel(0, 118, kWidth, 42);
  p.fillRect(panel, QColor(0x40, 0x44, 0x4C));
  for (int i = 0; i < 3; ++i) {
    p.setBrush(QColor(0x88, 0x8C, 0x94));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRect(120 + i * 28, 128, 22, 22), 4, 4);
  }
  // The program's icon: a green note with a clock hand.
  const QRect icon(206, 127, 24, 24);
  p.setBrush(kGreen);
  p.drawRoundedRect(icon, 5, 5);
  p.setBrush(Qt::white);
  p.drawEllipse(icon.center(), 7, 7);
  p.setPen(QPen(kDarkGreen, 2));
  p.drawLine(icon.center(), icon.center() + QPoint(0, -5));
  p.drawLine(icon.center(), icon.center() + QPoint(4, 0));
  p.setPen(Qt::white);
  p.setFont(Song(12));
  p.drawText(QRect(242, 118, 44, 42), Qt::AlignCenter, QStringLiteral("9:00"));
  // Highlight ring and pointer.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kCallout, 2));
  p.drawEllipse(icon.center(), 17, 17);
  QPainterPath pointer;
  const QPointF tip(icon.center().x() + 6, icon.center().y() + 4);
  pointer.moveTo(tip);
  pointer.lineTo(tip + QPointF(0, 22));
  pointer.lineTo(tip + QPointF(5, 17));
  pointer.lineTo(tip + QPointF(10, 25));
  pointer.lineTo(tip + QPointF(13, 23));
  pointer.lineTo(tip + QPointF(8, 15));
  pointer.lineTo(tip + QPointF(15, 15));
  pointer.closeSubpath();
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPath(pointer);
  // A bubble pointing down at the icon.
  const QRect bubble(16, 14, 236, 76);
  p.setPen(QPen(kGreen, 2));
  p.setBrush(Qt::white);
  QPainterPath shape;
  shape.addRoundedRect(bubble, 8, 8);
  QPainterPath tail;
  tail.moveTo(188, bubble.bottom() - 1);
  tail.lineTo(icon.center().x(), 112);
  tail.lineTo(210, bubble.bottom() - 1);
  p.drawPath(shape.united(tail));
  p.setPen(kInk);
  p.setFont(Song(14));
  Paragraph(p, bubble.adjusted(10, 8, -10, -8), QStringLiteral("左键单击：打开主窗口\n右键单击：打开右键菜单"));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: helpart <output directory>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const QString dir = QString::fromLocal8Bit(argv[1]);
  const std::pair<const char*, QImage> pictures[] = {
      {"guide1.png", DrawGuide1()}, {"guide2.png", DrawGuide2()}, {"tray_notice.png", DrawTrayNotice()}};
  for (const auto& [name, image] : pictures) {
    if (!image.save(dir + QLatin1Char('/') + QLatin1String(name), "PNG")) {
      std::fprintf(stderr, "helpart: cannot write %s\n", name);
      return 1;
    }
  }
  return 0;
}
