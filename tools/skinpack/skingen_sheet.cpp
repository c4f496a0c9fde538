// Chinese texts here are UTF-16 literals (u""), which the tool's GB18030 execution charset
// leaves alone.
#include "skingen_sheet.h"

#include <QFont>
#include <QJsonArray>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>

#include <vector>

namespace skingen {
namespace {

const QString kStates[3] = {QString::fromUtf16(u"正常图片"), QString::fromUtf16(u"点燃图片"),
                            QString::fromUtf16(u"按下图片")};

class Sheet {
 public:
  Sheet(const SkinSource& source, const std::map<QString, QImage>& pictures)
      : source_(source), pictures_(pictures), image_(1180, 3400, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(QColor("#FAFAFA"));
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::TextAntialiasing);
  }

  QImage Finish() {
    painter_.end();
    return image_.copy(0, 0, image_.width(), y_ + 10);
  }

  QImage Picture(const QString& name) const {
    auto it = pictures_.find(name);
    return it == pictures_.end() ? QImage() : it->second;
  }

  void Heading(const QString& text) {
    y_ += 14;
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    font.setBold(true);
    painter_.setFont(font);
    painter_.setPen(QColor("#333333"));
    painter_.drawText(QPointF(10, y_ + 12), text);
    y_ += 20;
  }

  void Label(int x, int y, const QString& text, const QColor& colour = QColor("#555555")) {
    QFont font("WenQuanYi Micro Hei");
    font.setPixelSize(10);
    painter_.setFont(font);
    painter_.setPen(colour);
    painter_.drawText(QPointF(x, y), text);
  }

  // Three rows (normal, hover, pressed) of the buttons of the given tags over a ground.
  void ButtonRows(const std::vector<QString>& tags, const QColor& ground, int gap, int zoom = 1) {
    int height = 0;
    for (const QString& tag : tags) height = std::max(height, Picture(tag + kStates[0]).height() * zoom);
    const int rowHeight = height + 8;
    painter_.fillRect(QRect(0, y_, image_.width(), rowHeight * 3 + 8), ground);
    int x = 70;
    for (const QString& tag : tags) {
      int width = 0;
      for (int state = 0; state < 3; ++state) {
        const QImage picture = Picture(tag + kStates[state]);
        const QRect target(x, y_ + 4 + state * rowHeight, picture.width() * zoom, picture.height() * zoom);
        painter_.drawImage(target, picture);
        width = std::max(width, target.width());
      }
      x += width + gap;
    }
    for (int state = 0; state < 3; ++state) {
      Label(8, y_ + 16 + state * rowHeight, QStringList{"normal", "hover", "pressed"}[state],
            ground.lightness() < 128 ? Qt::white : QColor("#555555"));
    }
    y_ += rowHeight * 3 + 8;
  }

  void Icons() {
    const int height = 90;
    painter_.fillRect(QRect(0, y_, 840, height), Picture(QString::fromUtf16(u"纯色图片1")).pixelColor(0, 0));
    painter_.fillRect(QRect(840, y_, image_.width() - 840, height), source_.Colour("body"));
    int x = 20;
    for (int size : {16, 20, 24, 32, 48}) {
      painter_.drawImage(QPoint(x, y_ + 8), DrawProgramIcon(size));
      painter_.drawImage(QPoint(x + 840, y_ + 8), DrawProgramIcon(size));
      x += size + 14;
    }
    x = 240;
    for (const char16_t* name : {u"圣诞图标", u"春节图标"}) {
      const QImage icon = Picture(QString::fromUtf16(name));
      painter_.drawImage(QPoint(x, y_ + 8), icon);
      painter_.drawImage(QRect(x + 26, y_ + 8, 60, 60), icon);
      x += 100;
    }
    // The list row icons at the size the lists show them.
    for (int state = 0; state < 8; ++state) {
      const QImage icon = Picture(QString::fromUtf16(u"列表图标") + QString::number(state));
      painter_.drawImage(QRect(840 + 20 + state * 30, y_ + 58, 24, 24), icon);
    }
    // The clock reads 12:34:56, at its size and three times as large.
    const QString time = "12:34:56";
    for (int i = 0; i < time.size(); ++i) {
      const QImage glyph = Picture(time[i] == ':' ? QString::fromUtf16(u"点") : QString(time[i]));
      painter_.drawImage(QPoint(440 + 12 * i, y_ + 8), glyph);
      painter_.drawImage(QRect(550 + 36 * i, y_ + 8, glyph.width() * 3, glyph.height() * 3), glyph);
    }
    y_ += height;
  }

  void Thumbnails(const QString& prefix, int count) {
    painter_.fillRect(QRect(0, y_, image_.width(), 170), source_.Colour("body"));
    const QImage frame = Picture(QString::fromUtf16(u"缩略图背景框1"));
    for (int i = 1; i <= count && i <= 4; ++i) {
      const int x = 80 + (i - 1) * 250;
      painter_.drawImage(QPoint(x - 10, y_ + 4), frame);
      QImage thumb = Picture(prefix + QString::number(i) + QString::fromUtf16(u"_缩略图"));
      if (thumb.isNull()) thumb = Picture(QString::fromUtf16(u"添加背景图片"));
      painter_.drawImage(QPoint(x, y_ + 14), thumb);
    }
    Label(8, y_ + 14, prefix);
    y_ += 170;
  }

  // The frame, content rectangle, icon and buttons of a framed window, composed the way the
  // painter composes them (background stretched, rectangle at 90 per cent).
  QImage MockWindow(QSize size, int bodyTop, const QImage& background, bool icon = true) {
    QImage window(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&window);
    p.drawImage(QRect(QPoint(0, 0), size), background);
    const int w = size.width(), h = size.height();
    p.setOpacity(0.9);
    p.drawImage(QRect(0, bodyTop, w, h - bodyTop - 24), Picture(QString::fromUtf16(u"矩形")));
    p.setOpacity(1);
    const QImage outerH = Picture(QString::fromUtf16(u"横线_黑")), outerV = Picture(QString::fromUtf16(u"纵线_黑"));
    const QImage innerH = Picture(QString::fromUtf16(u"横线_白")), innerV = Picture(QString::fromUtf16(u"纵线_白"));
    p.drawImage(QRect(0, 0, w, 1), outerH);
    p.drawImage(QRect(0, h - 1, w, 1), outerH);
    p.drawImage(QRect(0, 0, 1, h), outerV);
    p.drawImage(QRect(w - 1, 0, 1, h), outerV);
    p.setOpacity(0.65);
    p.drawImage(QRect(1, 1, w - 2, 1), innerH);
    p.drawImage(QRect(1, h - 2, w - 2, 1), innerH);
    p.drawImage(QRect(1, 1, 1, h - 2), innerV);
    p.drawImage(QRect(w - 2, 1, 1, h - 2), innerV);
    p.setOpacity(1);
    if (icon) p.drawImage(QPoint(5, 4), Picture(QString::fromUtf16(u"图标")));
    return window;
  }

  void MessageBox(const QImage& background, const QString& title) {
    QImage box = MockWindow(QSize(460, 260), 50, background);
    QPainter p(&box);
    p.drawImage(QPoint(427, 3), Picture(QString::fromUtf16(u"关闭") + kStates[0]));
    p.drawImage(QPoint(151, 196), Picture(QString::fromUtf16(u"确定") + kStates[1]));
    p.drawImage(QPoint(241, 196), Picture(QString::fromUtf16(u"取消") + kStates[0]));
    QFont titleFont(QString::fromUtf16(u"宋体"));
    titleFont.setPointSize(10);
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(Qt::white);
    p.drawText(QPointF(28, 8 + 13), title);
    QFont body(QString::fromUtf16(u"宋体"));
    body.setPointSize(11);
    p.setFont(body);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 100, 460, 40), Qt::AlignCenter, QString::fromUtf16(u"是否真的要关闭退出！"));
    p.end();
    painter_.drawImage(QPoint(x_, y_), box);
    x_ += 470;
  }

  void MainWindowHead(const QImage& background, const QString& festivalIcon) {
    QImage head = MockWindow(QSize(1100, 728), 116, background).copy(0, 0, 1100, 150);
    QPainter p(&head);
    const char16_t* nav[] = {u"定时提醒导航", u"到期提醒导航", u"记事管理导航", u"密码管理导航", u"备份数据导航", u"高级设置导航"};
    for (int i = 0; i < 6; ++i) {
      const QPoint at(30 + 81 * i, 32);
      p.drawImage(at, Picture(QString::fromUtf16(nav[i]) + kStates[i == 1 ? 1 : i == 2 ? 2 : 0]));
      if (!festivalIcon.isEmpty()) p.drawImage(at, Picture(festivalIcon));
    }
    const char16_t* title[] = {u"关闭", u"最小化", u"帮助", u"菜单", u"皮肤", u"月历标题按钮"};
    int left = 1100 - 30 - 3;
    for (int i = 0; i < 6; ++i) {
      p.drawImage(QPoint(left, 3), Picture(QString::fromUtf16(title[i]) + kStates[i == 0 ? 1 : 0]));
      left -= 31;
    }
    QFont font(QString::fromUtf16(u"宋体"));
    font.setPointSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QPointF(30, 19), QString::fromUtf16(u"枫汀阁工作备忘录"));
    p.end();
    painter_.drawImage(QPoint(10, y_), head);
    y_ += 156;
  }

  void Clock(const QImage& background) {
    QImage clock = MockWindow(QSize(119, 51), 50, background, false);
    QPainter p(&clock);
    const QString time = "09:05:07";
    for (int i = 0; i < time.size(); ++i) {
      const QImage glyph = Picture(time[i] == ':' ? QString::fromUtf16(u"点") : QString(time[i]));
      p.drawImage(QPoint(12 + 12 * i, 16), glyph);
    }
    p.end();
    painter_.drawImage(QPoint(x_, y_), clock);
    painter_.drawImage(QRect(x_, y_ + 60, 119 * 2, 51 * 2), clock);
    x_ += 250;
  }

  // The colour entries where they are used: a pop-up menu, a gradient label, a framed edit box.
  void Colours() {
    painter_.fillRect(QRect(0, y_, image_.width(), 150), source_.Colour("body"));
    const QJsonObject colours = source_.Object("colourEntries");
    auto entry = [&](const char16_t* name) { return source_.Colour(colours.value(QString::fromUtf16(name)).toString()); };
    QFont font(QString::fromUtf16(u"宋体"));
    font.setPointSize(9);
    painter_.setFont(font);
    const QRect menu(20, y_ + 10, 170, 128);
    painter_.fillRect(menu, entry(u"菜单背景颜色"));
    painter_.fillRect(QRect(menu.left(), menu.top(), 24, menu.height()), entry(u"菜单左边框颜色"));
    painter_.setPen(entry(u"外形框线条颜色"));
    painter_.drawRect(menu.adjusted(0, 0, -1, -1));
    const char16_t* items[] = {u"显示今日提醒窗口", u"显示到期提醒窗口", nullptr, u"数字时钟", u"关于"};
    int y = menu.top() + 4;
    for (const char16_t* item : items) {
      if (!item) {
        painter_.fillRect(QRect(menu.left() + 28, y + 3, menu.width() - 32, 1), entry(u"菜单分隔条颜色"));
        y += 8;
        continue;
      }
      if (y == menu.top() + 4 + 22) painter_.fillRect(QRect(menu.left() + 2, y, menu.width() - 4, 22), entry(u"菜单选择颜色"));
      painter_.setPen(Qt::black);
      painter_.drawText(QPointF(menu.left() + 32, y + 15), QString::fromUtf16(item));
      y += 22;
    }
    QLinearGradient gradient(0, y_ + 10, 0, y_ + 34);
    gradient.setColorAt(0, entry(u"渐变标签背景颜色1"));
    gradient.setColorAt(0.5, entry(u"渐变标签背景颜色2"));
    gradient.setColorAt(1, entry(u"渐变标签背景颜色3"));
    painter_.fillRect(QRect(230, y_ + 10, 300, 24), gradient);
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(240, y_ + 27), QString::fromUtf16(u"渐变标签：提醒日期"));
    const QRect frame(230, y_ + 50, 300, 22);
    painter_.fillRect(frame, entry(u"外形框背景颜色"));
    painter_.setPen(entry(u"外形框线条颜色"));
    painter_.drawRect(frame.adjusted(0, 0, -1, -1));
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(frame.left() + 4, frame.top() + 15), QString::fromUtf16(u"每天下午三点开会"));
    painter_.drawImage(QPoint(frame.right() - 17, frame.top() + 4), Picture(QString::fromUtf16(u"下拉") + kStates[0]));
    painter_.drawImage(QPoint(230, y_ + 90), Picture(QString::fromUtf16(u"选择选中") + kStates[0]));
    painter_.drawText(QPointF(250, y_ + 102), QString::fromUtf16(u"强制执行"));
    painter_.drawImage(QPoint(330, y_ + 90), Picture(QString::fromUtf16(u"选择") + kStates[0]));
    painter_.drawText(QPointF(350, y_ + 102), QString::fromUtf16(u"不弹出窗口"));
    y_ += 150;
  }

  void NextRow(int height) {
    y_ += height;
    x_ = 10;
  }

 private:
  const SkinSource& source_;
  const std::map<QString, QImage>& pictures_;
  QImage image_;
  QPainter painter_;
  int y_ = 0;
  int x_ = 10;
};

std::vector<QString> Tags(std::initializer_list<const char16_t*> names) {
  std::vector<QString> tags;
  for (const char16_t* name : names) tags.push_back(QString::fromUtf16(name));
  return tags;
}

}  // namespace

QImage DrawContactSheet(const SkinSource& source, const std::map<QString, QImage>& pictures) {
  Sheet sheet(source, pictures);
  const QColor dark = sheet.Picture(QString::fromUtf16(u"纯色图片1")).pixelColor(0, 0);
  const QColor body = source.Colour("body");
  sheet.Heading("Title-bar and navigation buttons over the default background");
  sheet.ButtonRows(Tags({u"关闭", u"最小化", u"菜单", u"帮助", u"皮肤", u"月历标题按钮", u"定时提醒导航", u"到期提醒导航",
                         u"记事管理导航", u"密码管理导航", u"备份数据导航", u"高级设置导航"}),
                   dark, 12);
  sheet.Heading("Captioned buttons over the window body");
  sheet.ButtonRows(Tags({u"确定", u"取消", u"添加", u"修改", u"删除", u"查询", u"打开", u"暂停提醒", u"上一页", u"下一页"}), body, 10);
  sheet.ButtonRows(Tags({u"备份数据", u"恢复数据", u"导出数据", u"导入数据", u"压缩数据"}), body, 12);
  sheet.Heading("Check and small buttons, at their size and four times as large");
  const auto small = Tags({u"选择", u"选择选中", u"下拉", u"下拉透明", u"刷新小", u"刷新小透明", u"删除小透明", u"清除"});
  sheet.ButtonRows(small, body, 20);
  sheet.ButtonRows(small, body, 12, 4);
  sheet.Heading("Menu, gradient label, shape box and edit box colours, tick buttons in place");
  sheet.Colours();
  sheet.Heading("Program icon (16, 20, 24, 32, 48), festival icons, clock digits");
  sheet.Icons();
  sheet.Heading("Skins page: backgrounds, plain colours, Christmas, Spring Festival");
  sheet.Thumbnails(QString::fromUtf16(u"背景图片"), 4);
  sheet.Thumbnails(QString::fromUtf16(u"纯色图片"), 4);
  sheet.Thumbnails(QString::fromUtf16(u"圣诞图片"), 4);
  sheet.Thumbnails(QString::fromUtf16(u"春节图片"), 4);
  sheet.Heading("Mock-ups: message boxes and clocks over the first plain colour and the backgrounds");
  sheet.MessageBox(sheet.Picture(QString::fromUtf16(u"纯色图片1")), QString::fromUtf16(u"提示："));
  sheet.MessageBox(sheet.Picture(QString::fromUtf16(u"背景图片2")), QString::fromUtf16(u"提示："));
  sheet.Clock(sheet.Picture(QString::fromUtf16(u"纯色图片1")));
  sheet.NextRow(270);
  sheet.MessageBox(sheet.Picture(QString::fromUtf16(u"圣诞图片1")), QString::fromUtf16(u"提示："));
  sheet.MessageBox(sheet.Picture(QString::fromUtf16(u"春节图片1")), QString::fromUtf16(u"提示："));
  sheet.Clock(sheet.Picture(QString::fromUtf16(u"背景图片1")));
  sheet.NextRow(270);
  sheet.Heading("Main window title band: plain colour 1, background 2, Christmas with its decoration");
  sheet.MainWindowHead(sheet.Picture(QString::fromUtf16(u"纯色图片1")), {});
  sheet.MainWindowHead(sheet.Picture(QString::fromUtf16(u"背景图片2")), {});
  sheet.MainWindowHead(sheet.Picture(QString::fromUtf16(u"圣诞图片1")), QString::fromUtf16(u"圣诞图标"));
  sheet.MainWindowHead(sheet.Picture(QString::fromUtf16(u"春节图片1")), QString::fromUtf16(u"春节图标"));
  (void)dark;
  return sheet.Finish();
}

}  // namespace skingen
