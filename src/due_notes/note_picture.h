#pragma once
// The picture every line of the notes list shows: a note pad with a pen, 48 x 48 PNG bytes,
// made once and carried by the program itself rather than by the skin.
#include <string>

namespace workmemo {

const std::string& NotePicture();

}  // namespace workmemo
