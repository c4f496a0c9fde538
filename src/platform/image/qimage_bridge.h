#pragma once
// Conversions between Image and QImage, for the platform code that draws with Qt.
#include <QImage>

#include <memory>
#include <string>

#include "platform/image/image.h"

namespace platform::image {

QImage ToQImage(const Image& image);      // Format_ARGB32
Image FromQImage(const QImage& image);    // any format; a null QImage gives no picture
// Decode straight to a QImage (null for no picture).
QImage DecodeToQImage(std::string_view bytes);

// The picture the bytes hold. An opaque bitmap of EncodeBmp's form is not copied: the
// picture shows the pixels in `bytes`, which it keeps alive; anything else is decoded.
QImage SharedBitmap(std::shared_ptr<const std::string> bytes);
// A picture that draws straight into the pixels of a bitmap of EncodeBmp's form (BlankBmp's,
// say); `bytes` must outlive it and keep its size. Null for any other bytes.
QImage DrawableBitmap(std::string& bytes);
// `area` of the picture as EncodeBmp's bytes, read from its rows without a copy between.
std::string EncodeBmp(const QImage& image, QRect area);

}  // namespace platform::image
