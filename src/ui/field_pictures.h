#pragma once
// Pictures of plain text fields drawn in code for windows whose fields are sprites: a white
// ground framed in grey, the stand-in of an edit box that is not open.
#include <string>

namespace workmemo {

// PNG bytes of a width x height field, white inside a one-pixel grey frame; made once per size.
std::string FramedFieldPicture(int width, int height);

}  // namespace workmemo
