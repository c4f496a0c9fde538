#pragma once
// A contact sheet of the skin's pictures, for a person to look at: every button in its three
// states over the ground it is drawn on, the icons, the clock digits, the backgrounds with
// their thumbnails, and mock-ups of a message box and the main window's title band.
#include <QImage>
#include <QString>

#include <map>

#include "skingen_art.h"

namespace skingen {

// pictures: the drawn entries by their (UTF-8) names.
QImage DrawContactSheet(const SkinSource& source, const std::map<QString, QImage>& pictures);

}  // namespace skingen
