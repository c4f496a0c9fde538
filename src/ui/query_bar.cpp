#include "ui/query_bar.h"

#include <utility>

#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "ui/field_pictures.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_painter.h"
#include "ui/sprite_set.h"

namespace workmemo {

namespace ui = platform::ui;

struct QueryBar::State {
  ui::Window* page = nullptr;
  QueryBarUnits units;
  std::function<void()> refresh;
  SpriteSet sprites;
  bool spritesBuilt = false;
  int frameSprite = 0;
  int textSprite = 0;
  int refreshSprite = 0;
  int clearSprite = 0;
  // The page's own buttons lie inside the frame and show only while it is open.
  bool refreshWanted = false;
  bool clearWanted = false;

  ui::Unit& Unit(std::string_view name) const { return page->Unit(name); }

  void SetText(std::string_view text) {
    if (textSprite == 0) return;
    SpriteTextStyle style;
    style.size = kQueryTextSize;
    sprites.PutSpriteText(textSprite, sprites.SpriteLeft(textSprite), 0, text, style, true,
                          kQueryBarHeight);
  }

  void ShowButtons() {
    const bool open = Unit(units.frame).IsVisible();
    Unit(units.refreshButton).SetVisible(refreshWanted && open);
    Unit(units.clearButton).SetVisible(clearWanted && open);
    sprites.ShowSprite(refreshSprite, refreshWanted);
    sprites.ShowSprite(clearSprite, clearWanted);
  }

  void ClearQuery() {
    Unit(units.queryBox).SetText({});
    SetText({});
    clearWanted = false;
    ShowButtons();
  }

  void OpenFrame() {
    Unit(units.frame).SetVisible(true);
    Unit(units.queryBox).SetVisible(true);
    ShowButtons();
    Unit(units.queryBox).SetFocus();
  }

  void CloseFrame() {
    if (!Unit(units.frame).IsVisible()) return;
    Unit(units.frame).SetVisible(false);
    Unit(units.queryBox).SetVisible(false);
    SetText(Unit(units.queryBox).Text());
    ShowButtons();
  }

  void Refresh() const {
    if (refresh) refresh();
  }

  void BuildSprites(ui::AnimationBox& bar, const std::shared_ptr<State>& self) {
    sprites.Bind(bar);
    const ui::Unit& frame = Unit(units.frame);
    const int frameLeft = frame.Left();
    const int frameTop = frame.Top() - bar.Top();
    const int frameRight = frameLeft + frame.Width();
    frameSprite = sprites.AddPlainPictureSprite(units.frameSprite, frameLeft - 1, frameTop - 1, 0, 0,
                                                true, FramedFieldPicture(425, 26));
    textSprite = sprites.AddPlainPictureSprite(units.textSprite, frameLeft + 3, 0, 0, 0, true, {});
    SetText(" ");
    std::weak_ptr<State> weak = self;
    auto button = [this](std::string_view name, std::string_view base, int x, int y,
                         std::function<void()> click) {
      return AddSkinButtonSprite(sprites, name, base, x, y, 0, 0, std::move(click), false);
    };
    refreshSprite = button(units.refreshSprite, "刷新小透明", frameRight - 36, frameTop + 5, [weak] {
      if (auto s = weak.lock()) s->Refresh();
    });
    clearSprite = button(units.clearSprite, "删除小透明", frameRight - 18, frameTop + 5, [weak] {
      if (auto s = weak.lock()) s->ClearQuery();
    });
    spritesBuilt = true;
  }
};

QueryBar::QueryBar(ui::Window& page, const QueryBarUnits& units, std::function<void()> refresh)
    : state_(std::make_shared<State>()) {
  state_->page = &page;
  state_->units = units;
  state_->refresh = std::move(refresh);
  std::weak_ptr<State> weak = state_;
  auto on = [&page, weak](std::string_view unit, ui::Event event,
                          std::function<void(State&, ui::EventArgs&)> action) {
    page.On(unit, event, [weak, action = std::move(action)](ui::EventArgs& a) {
      if (auto s = weak.lock()) action(*s, a);
    });
  };
  on(units.refreshButton, ui::Event::Clicked, [](State& s, ui::EventArgs&) { s.Refresh(); });
  on(units.clearButton, ui::Event::Clicked, [](State& s, ui::EventArgs&) { s.ClearQuery(); });
  on(units.queryBox, ui::Event::TextChanged, [](State& s, ui::EventArgs&) {
    s.clearWanted = !s.Unit(s.units.queryBox).Text().empty();
    s.ShowButtons();
  });
  auto sprite = [](void (SpriteSet::*handler)(int)) {
    return [handler](State& s, ui::EventArgs& a) {
      if (a.objectId > 0) (s.sprites.*handler)(a.objectId);
    };
  };
  on(units.barBox, ui::Event::ObjectEnter, sprite(&SpriteSet::OnSpriteEnter));
  on(units.barBox, ui::Event::ObjectLeave, sprite(&SpriteSet::OnSpriteLeave));
  on(units.barBox, ui::Event::ObjectLeftDown, sprite(&SpriteSet::OnSpritePress));
  on(units.barBox, ui::Event::ObjectLeftUp, [](State& s, ui::EventArgs& a) {
    if (a.objectId <= 0) return;
    if (a.objectId == s.frameSprite) s.OpenFrame();
    s.sprites.OnSpriteRelease(a.objectId);
  });
}

QueryBar::~QueryBar() = default;

std::unique_ptr<ListBoxBinding> QueryBar::BindList(std::string_view listBox, std::string_view repeatTimer,
                                                   std::string_view refillTimer, SkinListView& list,
                                                   ListRoutes routes) {
  ui::Window& page = *state_->page;
  auto binding = std::make_unique<ListBoxBinding>(page, listBox, repeatTimer, refillTimer, list, std::move(routes));
  ListEventRouter* router = &binding->Router();
  std::weak_ptr<State> weak = state_;
  page.On(listBox, ui::Event::LeftUp, [router, weak](ui::EventArgs& a) {
    router->ButtonUp(a.y);
    if (auto s = weak.lock()) s->CloseFrame();
  });
  return binding;
}

void QueryBar::Place(int pageWidth, int pageHeight) {
  const int top = pageHeight - kQueryBarHeight - kQueryBarBottomMargin;
  state_->Unit(state_->units.barPicture).SetGeometry(0, top, pageWidth, kQueryBarHeight);
  state_->Unit(state_->units.barBox).SetGeometry(0, top, pageWidth, kQueryBarHeight);
}

void QueryBar::Paint(const ui::AnimationBox& pageBackground) {
  State& s = *state_;
  auto& bar = s.page->UnitAs<ui::AnimationBox>(s.units.barBox);
  // Every list page's bar shows the strip at the very bottom of its page's picture.
  const int pageHeight = s.page->Height();
  bar.SetBackgroundPicture(pageBackground.Capture(0, pageHeight - bar.Height(), s.page->Width(), bar.Height()), 1);
  if (!s.spritesBuilt) s.BuildSprites(bar, state_);
}

std::string QueryBar::Text() const { return state_->Unit(state_->units.queryBox).Text(); }

void QueryBar::OpenFrame() { state_->OpenFrame(); }

void QueryBar::CloseFrame() { state_->CloseFrame(); }

void QueryBar::Reset() {
  State& s = *state_;
  s.refreshWanted = false;
  s.clearWanted = false;
  s.Unit(s.units.queryBox).SetText({});
  s.ShowButtons();
  s.SetText(" ");
}

void QueryBar::ClearQuery() { state_->ClearQuery(); }

void QueryBar::QueryRan() {
  state_->refreshWanted = true;
  state_->ShowButtons();
}

SpriteSet& QueryBar::Sprites() { return state_->sprites; }
int QueryBar::FrameSprite() const { return state_->frameSprite; }
int QueryBar::TextSprite() const { return state_->textSprite; }

}  // namespace workmemo
