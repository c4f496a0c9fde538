#pragma once
// An animation box in memory for the tests of the controls that draw sprites. A picture is
// a text that starts with its natural size, "W x H ..." or "WxH"; anything else is no
// picture. A text object measures by the metric the test picks.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/sprite_items.h"

namespace testsupport {

class FakeSpriteSurface : public workmemo::SpriteSurface {
 public:
  // How wide and high a text is drawn. Without a fixed size a byte is 2/3 of the point size
  // wide (a blank at 9 points is 6 pixels) and a line 4/3 of it high.
  struct TextMetric {
    int byteWidth = 0;  // 0: follows the point size
    int height = 0;
  };

  struct Object {
    int x = 0, y = 0;
    bool visible = true;
    std::string name, picture, text;
    int textSize = 0;
    bool bold = false;
    std::uint32_t colour = 0;
    int scaleX = 1000, scaleY = 1000;
    int transparency = 0;
  };

  FakeSpriteSurface() = default;
  explicit FakeSpriteSurface(TextMetric metric) : metric_(metric) {}

  int CreateObject(int x, int y, bool visible, std::string_view name) override {
    Object o;
    o.x = x;
    o.y = y;
    o.visible = visible;
    o.name = name;
    objects[nextId_] = o;
    return nextId_++;
  }
  void DeleteObjects(const std::vector<int>& ids) override {
    for (int id : ids) objects.erase(id);
  }
  void SetObjectPicture(int id, std::string_view bytes) override {
    if (Object* o = Find(id)) {
      o->picture = bytes;
      o->text.clear();
    }
  }
  void SetObjectText(int id, std::string_view text, int size, bool bold,
                     std::uint32_t colour) override {
    if (Object* o = Find(id)) {
      o->text = text;
      o->textSize = size;
      o->bold = bold;
      o->colour = colour;
      o->picture.clear();
    }
  }
  std::string ObjectText(int id) const override { return Get(id).text; }
  void SetObjectName(int id, std::string_view name) override {
    if (Object* o = Find(id)) o->name = name;
  }
  std::string ObjectName(int id) const override { return Get(id).name; }
  void MoveObject(int id, int x, int y) override {
    if (Object* o = Find(id)) {
      o->x = x;
      o->y = y;
    }
  }
  int ObjectLeft(int id) const override { return Get(id).x; }
  int ObjectTop(int id) const override { return Get(id).y; }
  void ScaleObject(int id, int horizontal, int vertical) override {
    Object* o = Find(id);
    if (o != nullptr && horizontal > 0 && vertical > 0) {
      o->scaleX = horizontal;
      o->scaleY = vertical;
    }
  }
  int ObjectWidth(int id) const override { return Natural(Get(id)).first * Get(id).scaleX / 1000; }
  int ObjectHeight(int id) const override {
    return Natural(Get(id)).second * Get(id).scaleY / 1000;
  }
  void SetObjectTransparency(int id, int percent) override {
    if (Object* o = Find(id)) o->transparency = percent;
  }
  void ShowObject(int id, bool visible) override {
    if (Object* o = Find(id)) o->visible = visible;
  }
  bool IsObjectVisible(int id) const override { return Get(id).visible; }

  Object* Find(int id) {
    auto it = objects.find(id);
    return it == objects.end() ? nullptr : &it->second;
  }
  // An id the box does not hold reads as a hidden object without anything to draw.
  const Object& Get(int id) const {
    static const Object none = [] {
      Object o;
      o.visible = false;
      return o;
    }();
    auto it = objects.find(id);
    return it == objects.end() ? none : it->second;
  }

  std::map<int, Object> objects;

 private:
  std::pair<int, int> Natural(const Object& o) const {
    if (!o.text.empty()) {
      const int bytes = static_cast<int>(o.text.size());
      if (metric_.byteWidth > 0) return {bytes * metric_.byteWidth, metric_.height};
      return {bytes * o.textSize * 2 / 3, o.textSize * 4 / 3};
    }
    int w = 0, h = 0;
    // A blank in the format also matches no blank, so "34x12" reads as well as "34 x 12".
    if (std::sscanf(o.picture.c_str(), "%d x %d", &w, &h) != 2) return {0, 0};
    return {w, h};
  }

  TextMetric metric_;
  int nextId_ = 1;
};

}  // namespace testsupport
