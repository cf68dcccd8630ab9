// Writing an indexed picture as a GIF file (one image, no animation, no transparency, the colour
// table global and LZW-compressed pixels) with giflib.
#pragma once

#include "commands/WebPalette.h"

#include <stdexcept>
#include <string>

namespace zandor {

// A picture that giflib refused, with its reason.
class TGifError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The bytes of the GIF file. The colour table is the picture's colours padded to the next power of
// two that GIF allows (at least two entries); the logical screen's background is the picture's
// BackgroundIndex. Throws TGifError for an empty picture, more than 256 colours or a giflib failure.
std::string EncodeGif(const TIndexedPicture& picture);

} // namespace zandor
