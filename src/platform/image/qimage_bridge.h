#pragma once
// Conversions between Image and QImage, for the platform code that draws with Qt.
#include <QImage>

#include "platform/image/image.h"

namespace platform::image {

QImage ToQImage(const Image& image);      // Format_ARGB32
Image FromQImage(const QImage& image);    // any format; a null QImage gives no picture
// Decode straight to a QImage (null for no picture).
QImage DecodeToQImage(std::string_view bytes);

}  // namespace platform::image
