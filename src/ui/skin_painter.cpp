#include "ui/skin_painter.h"

#include <cstring>
#include <vector>

#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/lunar/lunar.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "ui/skin_entry_names.h"
#include "ui/skin_package.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

// Tag suffixes are their last two characters, four GBK bytes.
constexpr std::size_t kSuffixBytes = 4;
constexpr std::string_view kNoPaintTag = "N";
constexpr std::string_view kFillOnlyTag = "N1";
constexpr std::string_view kLineOnlyTag = "N2";
constexpr std::string_view kSelectedSuffix = "选中";
constexpr std::string_view kPlainBackSuffix = "底色";
constexpr std::string_view kNavigationSuffix = "导航";
constexpr std::string_view kBackgroundPictureTag = "背景图片";
constexpr std::string_view kChildBackgroundPictureTag = "子窗口背景图片";

std::string_view Suffix(std::string_view tag, std::size_t skip = 0) {
  if (tag.size() < kSuffixBytes + skip) return {};
  return tag.substr(tag.size() - skip - kSuffixBytes, kSuffixBytes);
}

std::string Joined(std::string_view a, std::string_view b) {
  std::string s(a);
  s += b;
  return s;
}

std::string Region(const ui::AnimationBox& box, const ui::Unit& unit) {
  return box.Capture(unit.Left(), unit.Top(), unit.Width(), unit.Height());
}

// A font given only in the parts that are set: an empty name or a size below 1 keeps them.
ui::Font Restyled(ui::Font font, std::string_view name, int size) {
  if (!name.empty()) font.name = name;
  if (size >= 1) font.size = size;
  return font;
}

}  // namespace

std::string FindSkinEntry(std::string_view name) {
  for (std::size_t i = 0; i < SkinEntryNames.size() && i < SkinEntryData.size(); ++i) {
    if (SkinEntryNames[i] == name) return SkinEntryData[i];
  }
  return {};
}

int AddButtonSprite(SpriteSet& sprites, std::string_view name, const ButtonPictures& pictures, int x,
                    int y, int width, int height, SpriteRoutine click, bool visible) {
  SpriteSpec spec;
  spec.name = name;
  spec.x = x;
  spec.y = y;
  spec.requestedWidth = width;
  spec.requestedHeight = height;
  spec.visible = visible;
  spec.normal = pictures.normal;
  spec.hover = pictures.hover;
  spec.pressed = pictures.pressed;
  spec.click = std::move(click);
  return sprites.AddPictureSprite(spec);
}

int AddSkinButtonSprite(SpriteSet& sprites, std::string_view name, std::string_view skinBase, int x,
                        int y, int width, int height, SpriteRoutine click, bool visible) {
  const ButtonPictures pictures{FindSkinEntry(Joined(skinBase, skin::kNormalPictureSuffix)),
                                FindSkinEntry(Joined(skinBase, skin::kHoverPictureSuffix)),
                                FindSkinEntry(Joined(skinBase, skin::kPressedPictureSuffix))};
  return AddButtonSprite(sprites, name, pictures, x, y, width, height, std::move(click), visible);
}

ui::Colour SkinColour(std::string_view name) {
  const std::string data = FindSkinEntry(name);
  // The text of an entry ends at its first zero byte.
  return static_cast<ui::Colour>(TextToInteger(std::string_view(data.c_str())));
}

void PaintMenuWithSkin(ui::Menu& menu) {
  ui::MenuColours colours;
  colours.background = SkinColour(skin::kMenuBackgroundColour);
  colours.leftBorder = SkinColour(skin::kMenuLeftBorderColour);
  colours.selection = SkinColour(skin::kMenuSelectionColour);
  colours.separator = SkinColour(skin::kMenuSeparatorColour);
  colours.text = menu.Colours().text;
  menu.SetColours(colours);
}

std::string LunarFestivalOf(int year, int month, int day) {
  const double date =
      static_cast<double>(platform::clock::DaysFromCivil(year, month, 1) + (day - 1));
  platform::lunar::LunarDate lunar;
  if (!platform::lunar::SolarToLunar(date, lunar) || lunar.leap != 0) return {};
  struct Festival {
    int month, day;
    std::string_view name;
  };
  static constexpr Festival kFestivals[] = {{1, 1, "春节"},  {1, 15, "元宵节"}, {5, 5, "端五节"},
                                            {7, 7, "七夕节"}, {8, 15, "中秋节"}, {9, 9, "重阳节"}};
  for (const Festival& f : kFestivals) {
    if (f.month == lunar.month && f.day == lunar.day) return std::string(f.name);
  }
  return {};
}

std::string SkinPainter::FestivalToday() const {
  const platform::clock::DateTimeFields today =
      platform::clock::FieldsFromSerial(platform::clock::Now());
  if (today.month == 12) return today.day == 25 ? std::string(skin::kChristmas) : std::string();
  if (LunarFestivalOf(today.year, today.month, today.day) == skin::kSpringFestival)
    return std::string(skin::kSpringFestival);
  return {};
}

std::string SkinPainter::SetUnitPictureFromBox(ui::AnimationBox& source, ui::AnimationBox& target,
                                               int x, int y, int width, int height) {
  std::string picture = source.Capture(x, y, width, height);
  target.SetBackgroundPicture(picture);
  return picture;
}

int SkinPainter::SetButtonPictures(ui::PictureButton& button, int on) {
  button.SetTag(on == 1 ? skin::kCheckOnTag : skin::kCheckOffTag);
  const std::string& tag = button.Tag();
  button.SetPictures(FindSkinEntry(Joined(tag, skin::kNormalPictureSuffix)),
                     FindSkinEntry(Joined(tag, skin::kHoverPictureSuffix)),
                     FindSkinEntry(Joined(tag, skin::kPressedPictureSuffix)));
  return on;
}

int SkinPainter::IsCheckButtonOn(ui::PictureButton& button) {
  if (button.Tag() == skin::kCheckOnTag) return 1;
  button.SetTag(skin::kCheckOffTag);
  return 0;
}

void SkinPainter::ClearSprites() {
  backgroundSpriteId_ = 0;
  sprites_.Clear();
}

// The unit pass shared by both painting forms.
struct SkinPainter::UnitPass {
  ui::Window& window;
  ui::AnimationBox& backgroundBox;
  ui::AnimationBox* compositingBox;
  ui::AnimationBox* buttonSource;  // where the background behind a button is copied from
  ui::AnimationBox* childBox;
  bool lookUpEveryTag;  // picture boxes take "背景图片" as an entry name too
  ui::Colour windowColour;
  std::string_view fontName;
  int fontSize;
  bool toggleIcon;
};

void SkinPainter::PaintWindow(const PaintWindowArgs& a) {
  if (a.window == nullptr || a.backgroundBox == nullptr) return;
  ui::Window& window = *a.window;
  ui::AnimationBox& background = *a.backgroundBox;
  const int width = a.width.value_or(window.Width());
  const int height = a.height.value_or(window.Height());
  const ui::Colour windowColour = SkinColour(skin::kWindowBackgroundColour);
  window.SetBackgroundColour(windowColour);

  if (a.pageMode == 0) {
    background.SetGeometry(0, 0, width, height);
    if (a.childBox != nullptr) {
      a.childBox->SetGeometry(a.childX, a.childY, a.childWidth, a.childHeight);
      a.childBox->SetVisible(false);
    }
    if (a.compositingBox != nullptr) a.compositingBox->SetVisible(false);
    sprites_.Bind(background);
    background.SetBackgroundMode(a.backgroundMode);
    if (backgroundSpriteId_ > 0) sprites_.Clear();
    if (a.paintUnits == 1) background.SetBackgroundPicture(a.backgroundPicture);
    if (a.compositingBox != nullptr) backgroundSpriteId_ = a.compositingBox->CreateObject(0, 0);

    struct FrameSprite {
      std::string_view name;
      int x, y, w, h;
      std::string_view entry;
      int transparency;
    };
    const std::string_view hName = "横线860_1";
    const std::string_view vName = "纵线600_1";
    const FrameSprite frame[] = {
        {"背景矩形860", a.childX, a.childY, a.childWidth, a.childHeight, skin::kContentRectangle,
         a.transparency},
        {hName, 0, 0, width, 1, skin::kOuterHorizontalLine, 0},
        {hName, 0, height - 1, width, 1, skin::kOuterHorizontalLine, 0},
        {vName, 0, 0, 1, height, skin::kOuterVerticalLine, 0},
        {vName, width - 1, 0, 1, height, skin::kOuterVerticalLine, 0},
        {hName, 1, 1, width - 2, 1, skin::kInnerHorizontalLine, 35},
        {hName, 1, height - 2, width - 2, 1, skin::kInnerHorizontalLine, 35},
        {vName, 1, 1, 1, height - 2, skin::kInnerVerticalLine, 35},
        {vName, width - 2, 1, 1, height - 2, skin::kInnerVerticalLine, 35},
    };
    for (const FrameSprite& s : frame) {
      sprites_.AddPlainPictureSprite(s.name, s.x, s.y, s.w, s.h, true, FindSkinEntry(s.entry),
                                     s.transparency);
    }
    if (a.showIcon == 1) {
      overlaySpriteId_ =
          sprites_.AddPlainPictureSprite(skin::kIcon, 5, 4, 20, 20, true, FindSkinEntry(skin::kIcon));
    }
    background.BringToTop();
  }

  if (a.paintUnits == 1) {
    SkinUnits({window, background, a.compositingBox,
               a.pageMode == 1 ? a.childBox : &background, a.childBox, false, windowColour,
               a.fontName, a.fontSize, true});
    if (a.pageMode == 1 && a.pageDrawPanel != nullptr) {
      ui::DrawPanel& panel = *a.pageDrawPanel;
      panel.SetGeometry(0, 0, a.childWidth, a.childHeight);
      panel.SendToBottom();
      if (!panel.IsVisible()) panel.SetVisible(true);
      if (a.transparency < 0) {
        panel.SetBackgroundColour(windowColour);
        panel.Clear();
      } else {
        panel.DrawPicture(a.pagePicture, 0, 0, a.childWidth, a.childHeight);
      }
    }
  }
  background.SendToBottom();
}

void SkinPainter::PaintChildWindow(const PaintChildWindowArgs& a) {
  if (a.window == nullptr || a.backgroundBox == nullptr) return;
  ui::Window& window = *a.window;
  ui::AnimationBox& background = *a.backgroundBox;
  const ui::Colour windowColour = SkinColour(skin::kWindowBackgroundColour);
  window.SetBackgroundColour(windowColour);
  background.SetGeometry(0, 0, a.width.value_or(window.Width()), a.height.value_or(window.Height()));
  if (a.compositingBox != nullptr) a.compositingBox->SetVisible(false);
  sprites_.Bind(background);
  background.SetBackgroundMode(a.backgroundMode);
  if (backgroundSpriteId_ > 0) sprites_.Clear();
  if (a.paintUnits == 1) background.SetBackgroundPicture(a.backgroundPicture);
  background.BringToTop();
  if (a.paintUnits == 1) {
    SkinUnits({window, background, a.compositingBox, &background, nullptr, true, windowColour,
               a.fontName, a.fontSize, false});
  }
  background.SendToBottom();
}

void SkinPainter::SkinUnits(const UnitPass& p) {
  using ui::UnitKind;
  // Picture boxes: a copy of what lies behind them, or their own entry.
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::PictureBox)) {
    auto& box = unit->As<ui::PictureBox>();
    box.SetBackgroundColour(p.windowColour);
    const std::string& tag = box.Tag();
    if (tag.empty()) continue;
    if (!p.lookUpEveryTag && tag == kBackgroundPictureTag) {
      box.SetPicture(Region(p.backgroundBox, box));
    } else if (!p.lookUpEveryTag && tag == kChildBackgroundPictureTag) {
      box.SetPicture(p.childBox != nullptr ? Region(*p.childBox, box) : std::string());
    } else {
      box.SetPicture(FindSkinEntry(tag));
    }
  }

  // Graphic buttons: each picture composed over the background behind the button (or the
  // plain window colour), so buttons look transparent on any background picture.
  ui::AnimationBox* compose = p.compositingBox;
  if (compose != nullptr) {
    const int pictureId = compose->CreateObject(0, 0);
    const int decorationId = compose->CreateObject(0, 0);
    compose->SetBackgroundColour(p.windowColour);
    const std::string festival = FestivalToday();
    const std::string decoration =
        festival.empty() ? std::string() : FindSkinEntry(Joined(festival, skin::kFestivalIconSuffix));
    if (p.toggleIcon) p.backgroundBox.ShowObject(overlaySpriteId_, false);
    for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::PictureButton)) {
      auto& button = unit->As<ui::PictureButton>();
      const std::string tag = button.Tag();
      if (tag == kNoPaintTag) continue;
      const int w = button.Width();
      const int h = button.Height();
      compose->ShowObject(decorationId, false);
      compose->Resize(w, h);
      compose->SetBackgroundPicture({}, 0);
      const std::string_view suffix = Suffix(tag);
      const bool selected = suffix == kSelectedSuffix;
      const std::string_view base = selected ? Suffix(tag, kSuffixBytes) : suffix;
      std::string behind;
      if (base != kPlainBackSuffix && p.buttonSource != nullptr) behind = Region(*p.buttonSource, button);
      // A selected button shows its normal picture over the plain window colour.
      if (!selected) compose->SetBackgroundPicture(behind, 0);
      const bool decorate = !festival.empty() && suffix == kNavigationSuffix;
      const auto composed = [&](std::string_view picture) {
        compose->SetObjectPicture(pictureId, picture);
        if (decorate) {
          compose->ShowObject(decorationId, true);
          compose->SetObjectPicture(decorationId, decoration);
        }
        return compose->Capture(0, 0, w, h);
      };
      button.SetNormalPicture(composed(FindSkinEntry(Joined(tag, skin::kNormalPictureSuffix))));
      compose->SetBackgroundPicture(behind, 0);
      button.SetHoverPicture(composed(FindSkinEntry(Joined(tag, skin::kHoverPictureSuffix))));
      const std::string pressed = FindSkinEntry(Joined(tag, skin::kPressedPictureSuffix));
      if (!pressed.empty()) {
        compose->SetBackgroundPicture(behind, 0);
        button.SetPressedPicture(composed(pressed));
      } else {
        button.SetPressedPicture(std::string(button.NormalPicture()));
      }
    }
    if (p.toggleIcon) p.backgroundBox.ShowObject(overlaySpriteId_, true);
    compose->DeleteObjects({pictureId, decorationId});
  }

  const ui::Colour lineColour = SkinColour(skin::kShapeLineColour);
  const ui::Colour fillColour = SkinColour(skin::kShapeFillColour);
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::ShapeBox)) {
    auto& shape = unit->As<ui::ShapeBox>();
    const std::string& tag = shape.Tag();
    if (tag == kNoPaintTag) continue;
    if (tag != kLineOnlyTag) shape.SetFillColour(fillColour);
    if (tag != kFillOnlyTag) shape.SetLineColour(lineColour);
  }

  const auto restyle = [&p](ui::Unit& unit) {
    unit.SetFont(Restyled(unit.GetFont(), p.fontName, p.fontSize));
  };
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::EditBox)) {
    if (unit->Tag() == kNoPaintTag) continue;
    unit->SetBackgroundColour(fillColour);
    restyle(*unit);
  }
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::Label)) {
    auto& label = unit->As<ui::Label>();
    if (label.Tag() == skin::kGradientLabelTag) {
      label.SetGradient(SkinColour(skin::kGradientColour1), SkinColour(skin::kGradientColour2),
                        SkinColour(skin::kGradientColour3));
    } else if (label.Tag() != kNoPaintTag) {
      label.SetBackgroundColour(fillColour);
      restyle(label);
    }
  }
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::RichEditBox)) {
    if (unit->Tag() == kNoPaintTag) continue;
    auto& rich = unit->As<ui::RichEditBox>();
    rich.SetBackgroundColour(fillColour);
    // One format for the whole pass: the Song face at 9 until the call says otherwise.
    std::string face = "宋体";
    if (!p.fontName.empty()) {
      face = p.fontName;
      rich.ApplyCharFormat(face, 9);
    }
    if (p.fontSize >= 1) rich.ApplyCharFormat(face, p.fontSize);
  }
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::TransparentLabel)) {
    if (unit->Tag() == kNoPaintTag) continue;
    ui::Font font = Restyled(unit->GetFont(), p.fontName, 0);
    if (p.fontSize >= 1) {
      // A larger text moves a pixel left and down, a smaller one a pixel right and up.
      if (font.size < p.fontSize) unit->Move(unit->Left() - 1, unit->Top() + 1);
      if (font.size > p.fontSize) unit->Move(unit->Left() + 1, unit->Top() - 1);
      font.size = p.fontSize;
    }
    unit->SetFont(font);
  }
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::ComboBox)) {
    if (unit->Tag() != kNoPaintTag) restyle(*unit);
  }
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::DrawPanel)) {
    if (unit->Tag() != kNoPaintTag) unit->SetBackgroundColour(p.window.BackgroundColour());
  }
  for (ui::Unit* unit : p.window.UnitsOfKind(UnitKind::Menu)) PaintMenuWithSkin(unit->As<ui::Menu>());
}

}  // namespace workmemo
