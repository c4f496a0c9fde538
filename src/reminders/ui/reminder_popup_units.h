#pragma once
// Names and places of the pop-up's units and sprites, shared by the pop-up's source files.
#include <string_view>

#include "platform/ui/ui.h"

namespace workmemo::popup {

inline constexpr int kWidth = 480;
inline constexpr int kHeight = 350;
inline constexpr int kBandHeight = 50;  // the title band above the body

// Template units.
inline constexpr std::string_view kWindowName = "ReminderPopupWindow";
inline constexpr std::string_view kBackgroundBox = "背景动画框";
inline constexpr std::string_view kTitleLabel = "标题标签";
inline constexpr std::string_view kTitleBox = "提醒标题框";
inline constexpr std::string_view kContentBox = "提醒内容框";
inline constexpr std::string_view kMinutesFrame = "外形框1";
inline constexpr std::string_view kMinutesBox = "再次提醒内容框";
inline constexpr std::string_view kMinutesButton = "图形按钮1";
inline constexpr std::string_view kMinutesCombo = "再次提醒内容组合框";
inline constexpr std::string_view kCoverPanel = "密码验证画板";
inline constexpr std::string_view kPasswordBox = "密码验证框";
inline constexpr std::string_view kPasswordConfirm = "透明标签3";
inline constexpr std::string_view kWindowMenu = "菜单";
inline constexpr std::string_view kPauseMenu = "菜单1";
inline constexpr std::string_view kTopmostItem = "窗口置顶显示";
inline constexpr std::string_view kPositionItem = "记录窗口位置";
inline constexpr std::string_view kClockTimer = "时钟1";
inline constexpr std::string_view kAutoCloseTimer = "时钟2";
// The units that make up the password cover, the panel first.
inline constexpr std::string_view kCoverUnits[] = {
    kCoverPanel, "查询项目类型标签1", "外形框3", kPasswordBox, kPasswordConfirm,
    "一次输入密码选择框", "透明标签4"};

// Sprites on 背景动画框.
inline constexpr std::string_view kOkSprite = "确定按钮";
inline constexpr std::string_view kPreviousSprite = "上一页按钮";
inline constexpr std::string_view kNextSprite = "下一页按钮";
inline constexpr std::string_view kPauseSprite = "暂停提醒按钮";
inline constexpr std::string_view kTitleCaptionSprite = "提醒标题标签";
inline constexpr std::string_view kContentCaptionSprite = "提醒内容标签";
inline constexpr std::string_view kTitleFrameSprite = "提醒标题框";
inline constexpr std::string_view kContentFrameSprite = "提醒内容框";
inline constexpr std::string_view kTitleTextSprite = "提醒标题";
inline constexpr std::string_view kContentTextSprite = "提醒内容";
inline constexpr std::string_view kTitleUpSprite = "提醒标题上滑按钮";
inline constexpr std::string_view kTitleDownSprite = "提醒标题下滑按钮";
inline constexpr std::string_view kContentUpSprite = "文本上滑按钮";
inline constexpr std::string_view kContentDownSprite = "文本下滑按钮";
inline constexpr std::string_view kCountCaptionSprite = "记录数标签";
inline constexpr std::string_view kCountSprite = "记录数内容";
inline constexpr std::string_view kKindSprite = "提醒样式标签";
inline constexpr std::string_view kClockSprite = "时间标签";
inline constexpr std::string_view kStartSprite = "提醒时间标签";
inline constexpr std::string_view kModeSprite = "提醒方式标签";
inline constexpr std::string_view kMinutesFrameSprite = "再次提醒框";
inline constexpr std::string_view kMinutesSprite = "再次提醒内容";
inline constexpr std::string_view kDropDownSprite = "下拉按钮";
inline constexpr std::string_view kMinutesCaptionSprite = "再次提醒标签";

// The two text frames: the rich-edit boxes break their texts at the frame's width.
inline constexpr int kFrameLeft = 88;
inline constexpr int kFrameWidth = 376;
inline constexpr int kScrollBarRoom = 18;  // a box with a scroll bar is this much wider
inline constexpr int kTitleFrameTop = 59;
inline constexpr int kTitleFrameHeight = 24;
inline constexpr int kContentFrameTop = 90;
inline constexpr int kContentFrameHeight = 182;
inline constexpr int kPageButtonSize = 12;
inline constexpr int kCountTop = 165;
inline constexpr int kStripTextSize = 10;  // the time and mode in the bottom strip

inline constexpr platform::ui::Colour kBlack = platform::ui::Rgb(0, 0, 0);
inline constexpr platform::ui::Colour kBlue = platform::ui::Rgb(0, 0, 255);
inline constexpr platform::ui::Colour kRed = platform::ui::Rgb(255, 0, 0);
inline constexpr platform::ui::Colour kYellow = platform::ui::Rgb(255, 255, 0);
inline constexpr platform::ui::Colour kWhite = platform::ui::Rgb(255, 255, 255);

}  // namespace workmemo::popup
