#pragma once
// Every name under which the program looks up skin entries, and the list of all names a skin
// must hold. Only code compiled as GB18030 includes this header.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace workmemo::skin {

// The data of the first entry of every package of this program.
inline constexpr std::string_view kProductName = "枫汀阁工作备忘录";

// Fixed names of the painting code.
inline constexpr std::string_view kWindowBackgroundColour = "窗口背景颜色";
inline constexpr std::string_view kContentRectangle = "矩形";
inline constexpr std::string_view kOuterHorizontalLine = "横线_黑";
inline constexpr std::string_view kOuterVerticalLine = "纵线_黑";
inline constexpr std::string_view kInnerHorizontalLine = "横线_白";
inline constexpr std::string_view kInnerVerticalLine = "纵线_白";
inline constexpr std::string_view kIcon = "图标";
inline constexpr std::string_view kShapeLineColour = "外形框线条颜色";
inline constexpr std::string_view kShapeFillColour = "外形框背景颜色";
inline constexpr std::string_view kGradientLabelTag = "渐变标签背景颜色";
inline constexpr std::string_view kGradientColour1 = "渐变标签背景颜色1";
inline constexpr std::string_view kGradientColour2 = "渐变标签背景颜色2";
inline constexpr std::string_view kGradientColour3 = "渐变标签背景颜色3";
inline constexpr std::string_view kMenuBackgroundColour = "菜单背景颜色";
inline constexpr std::string_view kMenuLeftBorderColour = "菜单左边框颜色";
inline constexpr std::string_view kMenuSelectionColour = "菜单选择颜色";
inline constexpr std::string_view kMenuSeparatorColour = "菜单分隔条颜色";
inline constexpr std::string_view kSkinVersion = "皮肤版本";
inline constexpr std::string_view kSkinName = "皮肤名称";

// A graphic button's pictures: its tag followed by one of these.
inline constexpr std::string_view kNormalPictureSuffix = "正常图片";
inline constexpr std::string_view kHoverPictureSuffix = "点燃图片";
inline constexpr std::string_view kPressedPictureSuffix = "按下图片";
inline constexpr std::string_view kButtonPictureSuffixes[] = {
    kNormalPictureSuffix, kHoverPictureSuffix, kPressedPictureSuffix};

// Check buttons show their state by these tags.
inline constexpr std::string_view kCheckOffTag = "选择";
inline constexpr std::string_view kCheckOnTag = "选择选中";

// Festivals the skin decorates: festival + "图标" over navigation buttons, festival + "图片" + n
// as background n, festival + "图片" + n + "_缩略图" as its thumbnail.
inline constexpr std::string_view kChristmas = "圣诞";
inline constexpr std::string_view kSpringFestival = "春节";
inline constexpr std::string_view kFestivals[] = {kChristmas, kSpringFestival};
inline constexpr std::string_view kFestivalIconSuffix = "图标";
inline constexpr std::string_view kFestivalPictureWord = "图片";
inline constexpr std::string_view kThumbnailSuffix = "_缩略图";

// Backgrounds of the skins page and the start: prefix + n, and prefix + n + "_缩略图".
inline constexpr std::string_view kBackgroundPicturePrefix = "背景图片";
inline constexpr std::string_view kSolidColourPicturePrefix = "纯色图片";
inline constexpr std::string_view kBackgroundPictureCount = "背景图片数";
inline constexpr std::string_view kSolidColourPictureCount = "纯色图片数";
inline constexpr std::string_view kThumbnailFrame = "缩略图背景框1";
inline constexpr std::string_view kAddBackgroundPicture = "添加背景图片";

// The desktop clock's pictures: the digits "0" to "9" and the colon.
inline constexpr std::string_view kClockDigits[] = {"0", "1", "2", "3", "4",
                                                    "5", "6", "7", "8", "9"};
inline constexpr std::string_view kClockColon = "点";

// The row icons of the reminder lists, one per display state: prefix + state, 0 to 7.
inline constexpr std::string_view kListIconPrefix = "列表图标";
inline constexpr int kListIconCount = 8;

// Tags of the graphic buttons of the window templates.
inline constexpr std::string_view kTemplateButtonTags[] = {
    "下拉", "下拉透明", "修改", "关闭", "删除", "刷新小", "压缩数据", "取消", "备份数据",
    "导入数据", "导出数据", "帮助", "恢复数据", "打开", "最小化", "月历标题按钮", "查询",
    "添加", "清除", "皮肤", "确定", "菜单", kCheckOffTag, kCheckOnTag};
// Tags of the navigation row; a festival decorates them.
inline constexpr std::string_view kNavigationButtonTags[] = {
    "定时提醒导航", "到期提醒导航", "记事管理导航", "密码管理导航", "备份数据导航", "高级设置导航"};
// Buttons that windows build as sprites on animation boxes.
inline constexpr std::string_view kSpriteButtonNames[] = {
    "确定", "关闭", "取消", "菜单", "最小化", "暂停提醒", "上一页", "下一页", "刷新小透明",
    "删除小透明"};

inline constexpr std::string_view kColourEntries[] = {
    kWindowBackgroundColour, kShapeLineColour, kShapeFillColour, kGradientColour1,
    kGradientColour2, kGradientColour3, kMenuBackgroundColour, kMenuLeftBorderColour,
    kMenuSelectionColour, kMenuSeparatorColour};

// prefix + n + suffix, n in decimal.
inline std::string NumberedName(std::string_view prefix, int n, std::string_view suffix = {}) {
  std::string name(prefix);
  name += std::to_string(n);
  name += suffix;
  return name;
}

// What an entry holds, and what it is for (a skin maker sizes its pictures by it).
enum class SkinEntryKind {
  Colour,             // decimal text of red + green * 256 + blue * 65536
  Text,               // GB18030 text, counts as decimal text
  FramePicture,       // content rectangle, frame lines, icon
  ButtonPicture,      // base = tag, state 0 normal, 1 hover, 2 pressed
  FestivalIcon,       // base = festival
  BackgroundPicture,  // base = prefix ("背景图片", "纯色图片" or festival + "图片"), number n
  Thumbnail,          // the same, number n
  SkinPagePicture,    // thumbnail frame, the add picture
  ClockPicture,       // digits and colon
  ListIcon,           // base = prefix, number = the display state
};

struct LookedUpSkinEntry {
  std::string name;
  SkinEntryKind kind;
  std::string base;
  int number = 0;  // the state of a button picture, or n of a background
};

// Every entry the program looks up, for a skin with the given numbers of background and
// plain-colour pictures (the values of "背景图片数" and "纯色图片数"). Duplicate names (a
// sprite button that is also a template tag) are listed once.
inline std::vector<LookedUpSkinEntry> LookedUpSkinEntries(int backgroundCount,
                                                          int solidColourCount) {
  std::vector<LookedUpSkinEntry> entries;
  auto add = [&entries](std::string name, SkinEntryKind kind, std::string base, int number) {
    for (const LookedUpSkinEntry& e : entries) {
      if (e.name == name) return;
    }
    entries.push_back({std::move(name), kind, std::move(base), number});
  };
  for (std::string_view name : kColourEntries) add(std::string(name), SkinEntryKind::Colour, {}, 0);
  for (std::string_view name : {kSkinVersion, kSkinName, kBackgroundPictureCount,
                                kSolidColourPictureCount}) {
    add(std::string(name), SkinEntryKind::Text, {}, 0);
  }
  for (std::string_view name : {kContentRectangle, kOuterHorizontalLine, kOuterVerticalLine,
                                kInnerHorizontalLine, kInnerVerticalLine, kIcon}) {
    add(std::string(name), SkinEntryKind::FramePicture, std::string(name), 0);
  }
  auto addButton = [&add](std::string_view tag) {
    for (int state = 0; state < 3; ++state) {
      add(std::string(tag) + std::string(kButtonPictureSuffixes[state]),
          SkinEntryKind::ButtonPicture, std::string(tag), state);
    }
  };
  for (std::string_view tag : kTemplateButtonTags) addButton(tag);
  for (std::string_view tag : kNavigationButtonTags) addButton(tag);
  for (std::string_view tag : kSpriteButtonNames) addButton(tag);
  auto addBackgrounds = [&add](const std::string& prefix, int count) {
    for (int n = 1; n <= count; ++n) {
      add(NumberedName(prefix, n), SkinEntryKind::BackgroundPicture, prefix, n);
      add(NumberedName(prefix, n, kThumbnailSuffix), SkinEntryKind::Thumbnail, prefix, n);
    }
  };
  addBackgrounds(std::string(kBackgroundPicturePrefix), backgroundCount);
  // The start falls back to the first plain colour whatever the skin says it holds.
  addBackgrounds(std::string(kSolidColourPicturePrefix), solidColourCount < 1 ? 1 : solidColourCount);
  for (std::string_view festival : kFestivals) {
    add(std::string(festival) + std::string(kFestivalIconSuffix), SkinEntryKind::FestivalIcon,
        std::string(festival), 0);
    addBackgrounds(std::string(festival) + std::string(kFestivalPictureWord),
                   backgroundCount < 1 ? 1 : backgroundCount);
  }
  add(std::string(kThumbnailFrame), SkinEntryKind::SkinPagePicture, std::string(kThumbnailFrame), 0);
  add(std::string(kAddBackgroundPicture), SkinEntryKind::SkinPagePicture,
      std::string(kAddBackgroundPicture), 0);
  for (std::string_view digit : kClockDigits) {
    add(std::string(digit), SkinEntryKind::ClockPicture, std::string(digit), 0);
  }
  add(std::string(kClockColon), SkinEntryKind::ClockPicture, std::string(kClockColon), 0);
  for (int state = 0; state < kListIconCount; ++state) {
    add(NumberedName(kListIconPrefix, state), SkinEntryKind::ListIcon, std::string(kListIconPrefix), state);
  }
  return entries;
}

}  // namespace workmemo::skin
