#include "common/window_alpha.h"

namespace workmemo {

int WindowAlphaOfPercent(int percent) {
  static constexpr int kAlpha[] = {26, 52, 77, 102, 128, 154, 180, 206, 230, 255};
  if (percent < 10 || percent > 100 || percent % 10 != 0) return 255;
  return kAlpha[percent / 10 - 1];
}

}  // namespace workmemo
