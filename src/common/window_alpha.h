#pragma once
// The opacity steps of the menus of the today and due-date windows.

namespace workmemo {

// The alpha byte stored and applied for a menu item of 10, 20, ... 100 per cent: 26, 52, 77,
// 102, 128, 154, 180, 206, 230, 255. Any other percentage gives 255 (opaque).
int WindowAlphaOfPercent(int percent);

}  // namespace workmemo
