#pragma once
// The category pictures of the profile chooser (the image list): our own
// artwork, drawn from SVG held in the program.

#include <QIcon>
#include <QString>

namespace vx {

constexpr int kCategoryPictureCount = 43;

// The SVG text of picture 1 to kCategoryPictureCount; empty for any other number.
QString CategoryPictureSvg(int picture);

// The picture as an icon (cached); a null icon for a number outside 1 to kCategoryPictureCount.
QIcon CategoryPicture(int picture);

// The house style of every picture: a white motif on a rounded tile that runs
// from colour `top` to colour `bottom`; class "c" fills with the bottom colour,
// class "s" strokes with it. The motif is drawn in a 64 x 64 box.
QString TileSvg(const char* top, const char* bottom, const char* motif);

// An SVG text as an icon, drawn at the size and device pixel ratio it is shown at.
QIcon SvgIcon(const QString& svg);

} // namespace vx
