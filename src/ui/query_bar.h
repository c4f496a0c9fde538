#pragma once
// The query bar of a list page: a strip 30 pixels high, 8 above the page's bottom, with the
// field selector, the query frame (a shape holding the query box and its refresh and clear
// buttons) and, on the bar's animation box, the sprites that stand in for the frame while it
// is closed: an empty white box, the query text, and small refresh and clear buttons. The
// refresh button is wanted after a query, the clear button while the box holds text.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform::ui {
class AnimationBox;
class Window;
}  // namespace platform::ui

namespace workmemo {

class ListBoxBinding;
class SkinListView;
class SpriteSet;
struct ListRoutes;

// The units of the page the bar is made of, and the names its sprites get.
struct QueryBarUnits {
  std::string_view barPicture;     // picture box of the bar
  std::string_view barBox;         // animation box over it, where the sprites live
  std::string_view frame;          // shape holding the query box and its buttons
  std::string_view queryBox;       // edit box of the query text
  std::string_view refreshButton;  // picture buttons inside the frame
  std::string_view clearButton;
  std::string_view frameSprite;    // sprite names
  std::string_view textSprite;
  std::string_view refreshSprite;
  std::string_view clearSprite;
};

inline constexpr int kQueryBarHeight = 30;
inline constexpr int kQueryBarBottomMargin = 8;
inline constexpr int kQueryTextSize = 11;

class QueryBar {
 public:
  // Binds the bar's events on `page`: the sprites follow the mouse, a release on the frame
  // sprite opens the frame, the box's text shows or hides the clear button, and the refresh
  // and clear buttons (units and sprites) run `refresh` and ClearQuery.
  QueryBar(platform::ui::Window& page, const QueryBarUnits& units, std::function<void()> refresh);
  ~QueryBar();
  QueryBar(const QueryBar&) = delete;
  QueryBar& operator=(const QueryBar&) = delete;

  // The page's list on its box and timers; a left release on the list also closes an open
  // query frame, after the list has handled it.
  std::unique_ptr<ListBoxBinding> BindList(std::string_view listBox, std::string_view repeatTimer,
                                           std::string_view refillTimer, SkinListView& list,
                                           ListRoutes routes);

  // The bar across the page's width, its bottom 8 pixels above the page's.
  void Place(int pageWidth, int pageHeight);
  // The bar shows the strip of the page's painted background that lies behind it; the first
  // time the sprites are built.
  void Paint(const platform::ui::AnimationBox& pageBackground);

  std::string Text() const;  // the query box's text
  // Opens the frame over the sprites and gives the box the focus.
  void OpenFrame();
  // Closes an open frame; its text stays on the bar.
  void CloseFrame();
  // Back to no query: the box empty, both buttons hidden, a blank on the bar.
  void Reset();
  // Empties the box and the bar's text and hides the clear button; the list is not touched.
  void ClearQuery();
  // A query ran: the refresh button leads back to every row.
  void QueryRan();

  SpriteSet& Sprites();
  int FrameSprite() const;
  int TextSprite() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace workmemo
