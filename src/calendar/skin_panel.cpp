#include "calendar/skin_panel.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "common/text_routines.h"
#include "platform/image/image.h"
#include "platform/os/memory.h"
#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/setting_switch.h"
#include "shell/settings.h"
#include "shell/ui_state.h"
#include "ui/skin_entry_names.h"
#include "ui/skin_painter.h"
#include "ui/sprite_set.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;

constexpr char kBackgroundBox[] = "背景动画框";
constexpr char kTransparencyBox[] = "透明度框";
constexpr char kTransparencyCombo[] = "透明度组合框";
constexpr char kWaitLabel[] = "等待标签";
constexpr int kSlotCount = 4;
constexpr int kThumbnailWidth = 200;
constexpr int kThumbnailHeight = 140;
constexpr int kHoverBrightness = 20;

struct PageContext {
  MainWindow* main = nullptr;
  ui::Window* page = nullptr;
  SkinPainter painter;   // SkinPanelPainter
  SpriteSet sprites;     // SkinPanelSprites
};
std::unique_ptr<PageContext>& Context() {
  static std::unique_ptr<PageContext> context;
  return context;
}

int SkinNumber(std::string_view entry) { return TextToInteger(FindSkinEntry(entry)); }

// The picture of a background slot or its thumbnail: on a festival day the festival's own,
// when the skin has it, else the plain one.
std::string BackgroundEntry(int slot, bool thumbnail) {
  const std::string number = std::to_string(slot);
  const std::string suffix = thumbnail ? std::string(skin::kThumbnailSuffix) : std::string();
  const std::string festival = Context() ? Context()->painter.FestivalToday() : std::string();
  if (!festival.empty()) {
    std::string picture = FindSkinEntry(festival + std::string(skin::kFestivalPictureWord) + number + suffix);
    if (!picture.empty()) return picture;
  }
  return FindSkinEntry(std::string(skin::kBackgroundPicturePrefix) + number + suffix);
}

std::string UserPicturePath(int slot) { return AccessConfigItem("pf", "yhtp" + std::to_string(slot), {}, true); }

// Stores the items of one choice in [pf] in one write. Should config.ini refuse it, the user
// is told and nothing changes: the screen shows only what the next start would show.
bool StoreChoice(std::initializer_list<std::pair<std::string_view, std::string_view>> items) {
  return StoreSwitchSettings("pf", items);
}

int ShownTransparency() {
  if (!Context()) return Settings().SkinTransparency;
  return TextToInteger(Context()->page->Unit(kTransparencyBox).Text());
}

// The slot (1-based) whose sprite is `sprite`, or 0.
int SlotOf(int sprite) {
  const auto& sprites = SkinPage().BackgroundSlotSprites;
  for (std::size_t i = 0; i < sprites.size(); ++i)
    if (sprite > 0 && sprites[i] == sprite) return static_cast<int>(i) + 1;
  return 0;
}
int ColourOf(int sprite) {
  const auto& sprites = SkinPage().SolidColourSprites;
  for (std::size_t j = 0; j < sprites.size(); ++j)
    if (sprite > 0 && sprites[j] == sprite) return static_cast<int>(j) + 1;
  return 0;
}

void SetThumbnailBrightness(int sprite, int percent) {
  if (Context() && (SlotOf(sprite) > 0 || ColourOf(sprite) > 0)) Context()->sprites.SetSpriteBrightness(sprite, percent);
}

void Apply(std::string picture) {
  Ui().BackgroundPicture = std::move(picture);
  ApplySkinToAllWindows(ShownTransparency());
}

}  // namespace

SkinPanelState& SkinPage() {
  static SkinPanelState state;
  return state;
}

std::function<void()> SetUpSkinPanel(MainWindow& main, ui::Window& page) {
  Context() = std::make_unique<PageContext>();
  Context()->main = &main;
  Context()->page = &page;
  SkinPage() = SkinPanelState();
  page.On({}, ui::Event::Created, [](ui::EventArgs&) { InitialiseSkinPanel(); });
  const auto route = [&page](ui::Event event, void (*handler)(int)) {
    page.On(kBackgroundBox, event, [handler](ui::EventArgs& args) {
      if (args.objectId > 0) handler(args.objectId);
    });
  };
  route(ui::Event::ObjectLeftDown, [](int sprite) {
    if (Context()) Context()->sprites.OnSpritePress(sprite);
  });
  route(ui::Event::ObjectEnter, HoverSkinThumbnail);
  route(ui::Event::ObjectLeave, LeaveSkinThumbnail);
  route(ui::Event::ObjectLeftUp, ChooseSkinBackground);
  route(ui::Event::ObjectRightUp, ChooseBackgroundPicture);
  page.On(kTransparencyCombo, ui::Event::Changed, [](ui::EventArgs&) { SetSkinTransparency(); });
  ui::Window* self = &page;
  page.On("图形按钮5", ui::Event::Clicked, [self](ui::EventArgs&) {
    ui::DropDownComboBox(self->UnitAs<ui::ComboBox>(kTransparencyCombo));
  });
  return PaintSkinPanel;
}

void ForgetSkinPanel() {
  Context().reset();
  SkinPage() = SkinPanelState();
}

ui::Window* SkinPanelWindow() { return Context() ? Context()->page : nullptr; }

void InitialiseSkinPanel() {
  if (!Context()) return;
  ui::Window& page = *Context()->page;
  const PanelRect& area = Context()->main->PanelArea();
  page.Move(area.left, area.top);
  page.Resize(area.width, area.height);
  SkinPage().SkinPanelWidth = area.width;
  SkinPage().SkinPanelHeight = area.height;
  page.Unit(kTransparencyBox).SetText(std::to_string(Settings().SkinTransparency));
  PaintSkinPanel();
  BuildSkinThumbnails();
}

void PaintSkinPanel() {
  if (!Context()) return;
  Context()->main->PaintChildPage(*Context()->page, Context()->painter, Ui().LabelFontSize);
}

void BuildSkinThumbnails() {
  if (!Context()) return;
  SkinPanelState& state = SkinPage();
  SpriteSet& sprites = Context()->sprites;
  sprites.Bind(Context()->page->UnitAs<ui::AnimationBox>(kBackgroundBox));
  state.BackgroundPictureCount = std::max(SkinNumber(skin::kBackgroundPictureCount), kSlotCount);
  state.BackgroundSlots.assign(static_cast<std::size_t>(state.BackgroundPictureCount), {});
  state.BackgroundSlotSprites.assign(static_cast<std::size_t>(state.BackgroundPictureCount), 0);
  const std::string frame = FindSkinEntry(skin::kThumbnailFrame);
  const std::string add = FindSkinEntry(skin::kAddBackgroundPicture);
  for (int i = 1; i <= kSlotCount; ++i) {
    const int x = 80 + (i - 1) * 250;
    sprites.AddPlainPictureSprite("缩略图背景框", x - 10, 60, 220, 160, true, frame);
    BackgroundSlot& slot = state.BackgroundSlots[static_cast<std::size_t>(i) - 1];
    slot.Thumbnail = BackgroundEntry(i, true);
    int& sprite = state.BackgroundSlotSprites[static_cast<std::size_t>(i) - 1];
    if (!slot.Thumbnail.empty()) {
      sprite = sprites.AddPlainPictureSprite("背景图片" + std::to_string(i), x, 70, kThumbnailWidth,
                                             kThumbnailHeight, true, slot.Thumbnail);
      continue;
    }
    slot.IsUserSlot = 1;
    sprite = sprites.AddPlainPictureSprite("背景图片" + std::to_string(i), x, 70, kThumbnailWidth,
                                           kThumbnailHeight, true, add);
    const std::string path = UserPicturePath(i);
    if (!path.empty()) slot.Thumbnail = ScalePictureToThumbnail(platform::image::ReadPictureFile(path));
    if (!slot.Thumbnail.empty()) sprites.SetSpritePicture(sprite, slot.Thumbnail);
  }
  state.SolidColourCount = std::max(SkinNumber(skin::kSolidColourPictureCount), 0);
  state.SolidColourThumbnails.assign(static_cast<std::size_t>(state.SolidColourCount), {});
  state.SolidColourSprites.assign(static_cast<std::size_t>(state.SolidColourCount), 0);
  for (int j = 1; j <= state.SolidColourCount; ++j) {
    const int x = 80 + (j - 1) * 250;
    std::string& thumbnail = state.SolidColourThumbnails[static_cast<std::size_t>(j) - 1];
    thumbnail = FindSkinEntry(std::string(skin::kSolidColourPicturePrefix) + std::to_string(j) +
                              std::string(skin::kThumbnailSuffix));
    sprites.AddPlainPictureSprite("缩略图背景框", x - 10, 300, 220, 160, true, frame);
    state.SolidColourSprites[static_cast<std::size_t>(j) - 1] = sprites.AddPlainPictureSprite(
        "纯色图片" + std::to_string(j), x, 310, kThumbnailWidth, kThumbnailHeight, true, thumbnail);
  }
}

std::string ScalePictureToThumbnail(std::string_view picture) {
  namespace image = platform::image;
  return image::EncodePng(image::Scaled(image::Decode(picture), kThumbnailWidth, kThumbnailHeight));
}

void HoverSkinThumbnail(int sprite) { SetThumbnailBrightness(sprite, kHoverBrightness); }
void LeaveSkinThumbnail(int sprite) { SetThumbnailBrightness(sprite, 0); }

void ChooseSkinBackground(int sprite) {
  if (const int i = SlotOf(sprite); i > 0) {
    const BackgroundSlot& slot = SkinPage().BackgroundSlots[static_cast<std::size_t>(i) - 1];
    if (slot.Thumbnail.empty()) {
      PickUserBackground(i);
      return;
    }
    std::string picture = BackgroundEntry(i, false);
    const bool userSlot = picture.empty();
    // A user slot's file that has gone applies no picture: the windows keep their colours.
    if (userSlot) picture = platform::image::ReadPictureFile(UserPicturePath(i));
    const std::string number = std::to_string(userSlot ? -i : i);
    if (!StoreChoice({{"bjtp", number}, {"cstp", "0"}})) return;
    Apply(std::move(picture));
  } else if (const int j = ColourOf(sprite); j > 0) {
    const std::string number = std::to_string(j);
    if (!StoreChoice({{"cstp", number}, {"bjtp", "0"}})) return;
    Apply(FindSkinEntry(std::string(skin::kSolidColourPicturePrefix) + std::to_string(j)));
  }
}

void ChooseBackgroundPicture(int sprite) {
  const int i = SlotOf(sprite);
  if (i > 0 && SkinPage().BackgroundSlots[static_cast<std::size_t>(i) - 1].IsUserSlot == 1) PickUserBackground(i);
}

void PickUserBackground(int slot) {
  if (!Context() || slot < 1 || slot > static_cast<int>(SkinPage().BackgroundSlots.size())) return;
  auto& dialog = Context()->page->UnitAs<ui::FileDialog>("通用对话框1");
  dialog.SetDialogKind(ui::FileDialogKind::Open);
  dialog.SetFilter("图片文件(*.bmp,*.jpg)|*.bmp;*.jpg");
  dialog.SetFileName({});
  if (!dialog.Run()) return;
  const std::string path = dialog.FileName();
  const std::string key = "yhtp" + std::to_string(slot), number = std::to_string(-slot);
  if (!StoreChoice({{key, path}, {"bjtp", number}})) return;
  std::string picture = platform::image::ReadPictureFile(path);
  BackgroundSlot& state = SkinPage().BackgroundSlots[static_cast<std::size_t>(slot) - 1];
  state.Thumbnail = ScalePictureToThumbnail(picture);
  const int sprite = SkinPage().BackgroundSlotSprites[static_cast<std::size_t>(slot) - 1];
  Context()->sprites.SetSpritePicture(sprite, state.Thumbnail.empty() ? FindSkinEntry(skin::kAddBackgroundPicture)
                                                                       : state.Thumbnail);
  Apply(std::move(picture));
}

void SetSkinTransparency() {
  if (!Context()) return;
  const auto& combo = Context()->page->UnitAs<ui::ComboBox>(kTransparencyCombo);
  const std::string text = combo.ItemText(combo.CurrentIndex());
  if (text.empty()) return;
  if (!StoreChoice({{"pftmd", text}})) return;
  Context()->page->Unit(kTransparencyBox).SetText(text);
  ApplySkinToAllWindows(TextToInteger(text));
}

void ApplySkinToAllWindows(int transparency) {
  ui::Window* page = SkinPanelWindow();
  if (page != nullptr) {
    ui::Unit& wait = page->Unit(kWaitLabel);
    wait.SetVisible(true);
    wait.BringToTop();
    // Drawn before the work starts; a click meanwhile waits, so no second re-skinning runs
    // inside this one.
    ui::ProcessEventsExceptInput();
  }
  Settings().SkinTransparency = transparency;
  std::vector<ModuleSeams::SkinRelayout> steps = Seams().RelayoutForSkin;
  std::stable_sort(steps.begin(), steps.end(), [](const auto& a, const auto& b) { return a.step < b.step; });
  for (const auto& step : steps)
    if (step.relayout) step.relayout();
  if (page != nullptr) page->Unit(kWaitLabel).SetVisible(false);
  platform::os::TrimWorkingSet();
}

void RegisterSkinPanel() {
  RegisterPageLoader(kSkinPanelName, [](MainWindow& main) {
    LoadedPage loaded;
    loaded.window = ui::Window::Load(kSkinPanelName);
    loaded.Layout = SetUpSkinPanel(main, *loaded.window);
    return loaded;
  });
  ModuleSeams& seams = Seams();
  seams.ApplySkinToAllWindows = ApplySkinToAllWindows;
  seams.RelayoutForSkin.push_back({kSkinSkinsPage, PaintSkinPanel});
  seams.CloseLoadedWindows.push_back(ForgetSkinPanel);
}

}  // namespace workmemo
