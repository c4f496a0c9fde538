#pragma once
// SkinPanel, the page 更换皮肤 of the main window: four background slots (a picture of the
// skin, or a slot for a picture file of the user's own) and one thumbnail per plain colour of
// the skin, and the skin transparency. A choice is stored in config.ini [pf] and applied at
// once to every window through ApplySkinToAllWindows.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::ui {
class Window;
}

namespace workmemo {

class MainWindow;

inline constexpr char kSkinPanelName[] = "SkinPanel";

struct BackgroundSlot {
  std::string Thumbnail;  // the picture the slot shows; empty: a user slot without a picture
  int IsUserSlot = 0;
};

struct SkinPanelState {
  int BackgroundPictureCount = 0;             // "背景图片数", at least 4
  std::vector<BackgroundSlot> BackgroundSlots;  // slot i at [i - 1]; only 1 to 4 are filled
  std::vector<int> BackgroundSlotSprites;
  int SolidColourCount = 0;
  std::vector<std::string> SolidColourThumbnails;
  std::vector<int> SolidColourSprites;
  int SkinPanelWidth = 0;
  int SkinPanelHeight = 0;
};
SkinPanelState& SkinPage();

// Binds the page's events; its created handler places it over PanelArea, paints it and
// builds the thumbnails. Gives its layout after a change of skin (the page painted again).
std::function<void()> SetUpSkinPanel(MainWindow& main, platform::ui::Window& page);
void ForgetSkinPanel();
platform::ui::Window* SkinPanelWindow();

void InitialiseSkinPanel();
void PaintSkinPanel();
void BuildSkinThumbnails();
// Any picture as a 200 x 140 thumbnail (PNG bytes); empty for bytes that are no picture.
std::string ScalePictureToThumbnail(std::string_view picture);

// The thumbnails' sprite events on 背景动画框.
void HoverSkinThumbnail(int sprite);
void LeaveSkinThumbnail(int sprite);
void ChooseSkinBackground(int sprite);     // left release
void ChooseBackgroundPicture(int sprite);  // right release
void PickUserBackground(int slot);
// 透明度组合框's choice: shown, stored as pftmd and applied.
void SetSkinTransparency();

// Every page and open floating window takes the background picture in force and the
// transparency `transparency` now, in the order of the re-skinning steps; the skins page
// shows its wait notice meanwhile.
void ApplySkinToAllWindows(int transparency);

// Registers the page, its re-layout and ApplySkinToAllWindows.
void RegisterSkinPanel();

}  // namespace workmemo
