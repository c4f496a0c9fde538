// Building a window from its JSON template.
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "platform/files/resources.h"
#include "platform/text/text.h"
#include "platform/ui/widgets.h"

namespace platform::ui {

using detail::FromQ;
using detail::ToQ;
using detail::UnitAccess;

namespace {

struct Builder {
  Window& window;
  std::string windowName;  // UTF-8, for messages

  [[noreturn]] void Fail(const std::string& what) const {
    throw TemplateError("window " + windowName + ": " + what);
  }

  static Colour ColourOf(const QJsonValue& v, Colour fallback) {
    const QString s = v.toString();
    if (!s.startsWith(QChar('#')) || s.size() != 7) return fallback;
    bool ok = false;
    const unsigned rgb = s.mid(1).toUInt(&ok, 16);
    if (!ok) return fallback;
    return Rgb(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
  }

  static Font FontOf(const QJsonObject& o, const Font& fallback) {
    Font f = fallback;
    if (o.contains("name")) f.name = FromQ(o["name"].toString());
    if (o.contains("size")) f.size = o["size"].toInt();
    f.bold = o["bold"].toBool(f.bold);
    f.italic = o["italic"].toBool(f.italic);
    f.underline = o["underline"].toBool(f.underline);
    f.strikeOut = o["strikeout"].toBool(f.strikeOut);
    return f;
  }

  std::unique_ptr<Unit> Make(const QString& kind, const QJsonObject& o, std::string name, QWidget* parent,
                             QWidget*& widget) {
    if (kind == "label" || kind == "transparent_label") {
      auto unit = std::make_unique<Label>(window, kind == "label" ? UnitKind::Label : UnitKind::TransparentLabel,
                                          std::move(name));
      widget = new detail::LabelWidget(*unit, parent);
      return unit;
    }
    if (kind == "edit") {
      const bool multi = o["multiline"].toBool();
      const bool password = o["password"].toBool();
      auto unit = std::make_unique<EditBox>(window, std::move(name), multi, password);
      Unit* u = unit.get();
      if (multi) {
        auto* edit = new QPlainTextEdit(parent);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [u] {
          EventArgs args;
          UnitAccess::Fire(*u, Event::TextChanged, args);
        });
        widget = edit;
      } else {
        auto* edit = new QLineEdit(parent);
        if (password) {
          edit->setEchoMode(QLineEdit::Password);
          // A star for each typed character, not the style's round dot.
          edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
        }
        // Boxes that lie inside a shape box of their own draw no frame.
        edit->setFrame(o["frame"].toBool(true));
        QObject::connect(edit, &QLineEdit::textChanged, edit, [u] {
          EventArgs args;
          UnitAccess::Fire(*u, Event::TextChanged, args);
        });
        widget = edit;
      }
      return unit;
    }
    if (kind == "rich_edit") {
      auto unit = std::make_unique<RichEditBox>(window, std::move(name));
      auto* edit = new QTextEdit(parent);
      edit->setAcceptRichText(false);
      // A box whose window pops a menu of its own on the right button shows only that one.
      if (!o["context_menu"].toBool(true)) edit->setContextMenuPolicy(Qt::NoContextMenu);
      widget = edit;
      return unit;
    }
    if (kind == "combo") {
      auto unit = std::make_unique<ComboBox>(window, std::move(name), o["editable"].toBool());
      auto* combo = new QComboBox(parent);
      combo->setEditable(o["editable"].toBool());
      Unit* u = unit.get();
      QObject::connect(combo, &QComboBox::activated, combo, [u](int) {
        EventArgs args;
        UnitAccess::Fire(*u, Event::Changed, args);
      });
      widget = combo;
      return unit;
    }
    if (kind == "picture_box") {
      auto unit = std::make_unique<PictureBox>(window, std::move(name));
      widget = new detail::PictureWidget(*unit, parent);
      return unit;
    }
    if (kind == "shape") {
      auto unit = std::make_unique<ShapeBox>(window, std::move(name));
      widget = new detail::ShapeWidget(*unit, parent);
      return unit;
    }
    if (kind == "picture_button") {
      auto unit = std::make_unique<PictureButton>(window, std::move(name));
      widget = new detail::ButtonWidget(*unit, parent);
      return unit;
    }
    if (kind == "draw_panel") {
      auto unit = std::make_unique<DrawPanel>(window, std::move(name));
      widget = new detail::PanelWidget(*unit, parent);
      return unit;
    }
    if (kind == "animation_box") {
      auto unit = std::make_unique<AnimationBox>(window, std::move(name));
      widget = new detail::BoxWidget(*unit, parent);
      return unit;
    }
    if (kind == "timer") return std::make_unique<Timer>(window, std::move(name));
    if (kind == "menu") return std::make_unique<Menu>(window, std::move(name));
    if (kind == "file_dialog") return std::make_unique<FileDialog>(window, std::move(name));
    return nullptr;
  }

  void Register(std::unique_ptr<Unit> unit) {
    auto& byName = UnitAccess::ByName(window);
    if (!byName.emplace(unit->Name(), unit.get()).second)
      Fail("unit " + platform::text::ToUtf8(unit->Name()) + " is named twice");
    UnitAccess::Units(window).push_back(std::move(unit));
  }

  // Menu items become units of their own, after their menu, in template order.
  void AddMenuItems(Menu& menu, QMenu& qmenu, const QJsonArray& items, std::vector<MenuItem*>& into) {
    for (const QJsonValue& v : items) {
      const QJsonObject o = v.toObject();
      if (o["separator"].toBool()) {
        qmenu.addSeparator();
        continue;
      }
      const QString text = o["text"].toString();
      const std::string name = FromQ(o.contains("name") ? o["name"].toString() : text);
      if (name.empty()) Fail("an item of menu " + platform::text::ToUtf8(menu.Name()) + " has no name");
      auto item = std::make_unique<MenuItem>(window, name);
      MenuItem* raw = item.get();
      into.push_back(raw);
      Register(std::move(item));
      raw->SetText(FromQ(text));
      if (o.contains("items")) {
        QMenu* sub = qmenu.addMenu(text);
        UnitAccess::ActionOf(*raw) = sub->menuAction();
        AddMenuItems(menu, *sub, o["items"].toArray(), UnitAccess::SubItems(*raw));
      } else {
        QAction* action = qmenu.addAction(text);
        UnitAccess::ActionOf(*raw) = action;
        const bool checkable = o.contains("checked");
        action->setCheckable(checkable);
        // The item's handler alone changes its tick: Qt's own toggle on a click is taken back
        // first, so a handler that refuses the change leaves the tick as it was.
        QObject::connect(action, &QAction::triggered, action, [raw, action] {
          action->setChecked(raw->IsChecked());
          raw->Choose();
        });
      }
      raw->SetChecked(o["checked"].toBool());
      raw->SetItemEnabled(o["enabled"].toBool(true));
    }
  }

  void Configure(Unit& unit, const QJsonObject& o) {
    if (auto* label = dynamic_cast<Label*>(&unit)) {
      const QString align = o["align"].toString();
      label->SetAlignment(align == "center" ? Align::Centre : align == "right" ? Align::Right : Align::Left);
      label->SetWordWrap(o["wrap"].toBool());
      label->SetCaption(o["caption"].toBool());
      if (o.contains("gradient")) {
        const QJsonArray g = o["gradient"].toArray();
        label->SetGradient(ColourOf(g.at(0), 0), ColourOf(g.at(1), 0), ColourOf(g.at(2), 0));
      }
    } else if (auto* edit = dynamic_cast<EditBox*>(&unit)) {
      edit->SetReadOnly(o["readonly"].toBool());
      if (o.contains("maxlength")) edit->SetMaxLength(o["maxlength"].toInt());
    } else if (auto* rich = dynamic_cast<RichEditBox*>(&unit)) {
      rich->SetReadOnly(o["readonly"].toBool());
    } else if (auto* combo = dynamic_cast<ComboBox*>(&unit)) {
      for (const QJsonValue& v : o["items"].toArray()) combo->AddItem(FromQ(v.toString()));
      if (o.contains("index")) combo->SetCurrentIndex(o["index"].toInt());
    } else if (auto* picture = dynamic_cast<PictureBox*>(&unit)) {
      picture->SetStretch(o["stretch"].toBool());
      picture->SetTransparent(o["transparent"].toBool());
    } else if (auto* shape = dynamic_cast<ShapeBox*>(&unit)) {
      const QString s = o["shape"].toString();
      shape->SetShape(s == "ellipse"           ? Shape::Ellipse
                      : s == "rounded"         ? Shape::RoundedRectangle
                      : s == "horizontal_line" ? Shape::HorizontalLine
                      : s == "vertical_line"   ? Shape::VerticalLine
                                               : Shape::Rectangle);
      shape->SetLineWidth(o["line_width"].toInt(1));
      shape->SetFilled(o["filled"].toBool(true));
    } else if (auto* timer = dynamic_cast<Timer*>(&unit)) {
      timer->SetInterval(o["interval"].toInt(0));
    } else if (auto* dialog = dynamic_cast<FileDialog*>(&unit)) {
      dialog->SetDialogKind(o["dialog"].toString() == "save" ? FileDialogKind::Save : FileDialogKind::Open);
      dialog->SetTitle(FromQ(o["title"].toString()));
      dialog->SetFilter(FromQ(o["filter"].toString()));
      dialog->SetDefaultExtension(FromQ(o["default_extension"].toString()));
    }
  }

  void Build(const QJsonObject& root, QWidget* top) {
    for (const QJsonValue& v : root["units"].toArray()) {
      const QJsonObject o = v.toObject();
      const QString kind = o["kind"].toString();
      const std::string name = FromQ(o["name"].toString());
      const std::string nameUtf8 = o["name"].toString().toStdString();
      if (name.empty()) Fail("a unit of kind " + kind.toStdString() + " has no name");
      QWidget* widget = nullptr;
      std::unique_ptr<Unit> unit = Make(kind, o, name, top, widget);
      if (!unit) Fail("unit " + nameUtf8 + " has the unknown kind \"" + kind.toStdString() + "\"");
      Unit& u = *unit;
      UnitAccess::WidgetOf(u) = widget;
      Register(std::move(unit));
      u.SetTag(FromQ(o["tag"].toString()));
      if (auto* menu = dynamic_cast<Menu*>(&u)) {
        AddMenuItems(*menu, *UnitAccess::MenuWidget(*menu), o["items"].toArray(), UnitAccess::Items(*menu));
        if (o.contains("colours")) {
          const QJsonObject c = o["colours"].toObject();
          MenuColours colours;
          colours.background = ColourOf(c["background"], colours.background);
          colours.leftBorder = ColourOf(c["left_border"], colours.leftBorder);
          colours.selection = ColourOf(c["selection"], colours.selection);
          colours.separator = ColourOf(c["separator"], colours.separator);
          colours.text = ColourOf(c["text"], colours.text);
          menu->SetColours(colours);
        }
      }
      if (widget != nullptr) {
        const QJsonArray g = o["geometry"].toArray();
        u.SetGeometry(g.at(0).toInt(), g.at(1).toInt(), g.at(2).toInt(), g.at(3).toInt());
        auto* relay = new detail::EventRelay(u, widget);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) area->viewport()->installEventFilter(relay);
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
          combo->lineEdit()->installEventFilter(relay);
        u.SetFont(FontOf(o["font"].toObject(), u.GetFont()));
        u.SetVisible(o["visible"].toBool(true));
        u.SetEnabled(o["enabled"].toBool(true));
      }
      u.SetBackgroundColour(ColourOf(o["background"], u.BackgroundColour()));
      u.SetForegroundColour(ColourOf(o["foreground"], u.ForegroundColour()));
      if (o.contains("text")) u.SetText(FromQ(o["text"].toString()));
      Configure(u, o);
    }
  }
};

}  // namespace

std::unique_ptr<Window> Window::FromJson(std::string_view json, std::string_view name) {
  QJsonParseError error;
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())), &error);
  const std::string nameUtf8 = platform::text::ToUtf8(name);
  if (error.error != QJsonParseError::NoError || !doc.isObject())
    throw TemplateError("window " + nameUtf8 + ": template is not valid JSON (" + error.errorString().toStdString() +
                        ")");
  const QJsonObject root = doc.object();
  std::unique_ptr<Window> window(new Window());
  window->name_ = root.contains("name") ? FromQ(root["name"].toString()) : std::string(name);
  window->frameless_ = root["frameless"].toBool(true);
  window->widget_ = std::make_unique<detail::WindowWidget>(*window);
  QWidget* top = window->widget_.get();
  Qt::WindowFlags flags = Qt::Window;
  if (window->frameless_) flags |= Qt::FramelessWindowHint;
  top->setWindowFlags(flags);
  top->resize(root["width"].toInt(400), root["height"].toInt(300));
  window->background_ = Builder::ColourOf(root["background"], window->background_);
  window->SetTitle(FromQ(root["title"].toString()));
  if (root["topmost"].toBool()) window->SetTopmost(true);
  Builder builder{*window, nameUtf8};
  builder.Build(root, top);
  return window;
}

std::unique_ptr<Window> Window::Load(std::string_view name) {
  const std::string path = ":/templates/" + platform::text::ToUtf8(name) + ".json";
  const auto json = platform::files::ReadResource(path);
  if (!json) throw TemplateError("window " + platform::text::ToUtf8(name) + ": no template " + path);
  return FromJson(*json, name);
}

}  // namespace platform::ui
