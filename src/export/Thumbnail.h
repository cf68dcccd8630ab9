// The thumbnails file managers show for art files: the first screen of the text as the export
// draws it, brought to the size the file manager asks for without blurring the cells. A picture
// larger than the size is shrunk by a whole factor, each thumbnail pixel the mean of a square of
// whole pixels (the last row and column of squares may be cut short); a picture smaller than half
// the size is enlarged by a whole factor, pixel for pixel.
#pragma once

#include <QImage>

namespace zandor {

// The lines of a text a thumbnail shows: one screen of the VGA's 80x25 text mode.
inline constexpr int kThumbnailLines = 25;
// The characters of a line it shows at most: wide art fits, a line of a megabyte costs nothing.
inline constexpr int kThumbnailColumns = 256;
// The largest size asked for; the freedesktop sizes go up to 1024.
inline constexpr int kMaxThumbnailSize = 4096;

// `picture` with its long side at most `size` pixels (1 <= size).
QImage ThumbnailOf(const QImage& picture, int size);

} // namespace zandor
