// The pictures of the main window, fetched from the program's built-in set.
// Kept apart so the board's own names for the pictures and the asset
// library's never meet in one file.
#pragma once

#include <QImage>
#include <QString>
#include <array>

namespace zerud {

// The image buttons of the left panel.
enum class TMainButton { Start, Options, Reseau, Aide };

// Normal, hover and pressed pictures of a button.
std::array<QImage, 3> MainButtonPictures(TMainButton button);
QImage LeftPanelArt();
QImage OptionsPanelArt();
// listeBmp: the grid overlay, then the yellow, red, ticked yellow and ticked
// red pieces.
std::array<QImage, 5> ListeBmpArt();
// ImageList1: gear, person in blue, computer screen, person in pink.
std::array<QImage, 4> LogIconArt();
// Reads a picture file; throws TFileOpenError when it cannot be opened.
QImage LoadPicture(const QString& path);

}  // namespace zerud
