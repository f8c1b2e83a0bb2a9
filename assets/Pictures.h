// The pictures the windows carry, built into the program, and the loader of
// the background picture read beside it.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace zerud {

// Start-up picture, 387 x 321.
QImage SplashPicture();
// Background of the main window's left column, 237 x 600.
QImage LeftPanelPicture();
// Background of the options panel, 800 x 536.
QImage OptionsPanelPicture();

enum class TButtonPicture { Start, Options, Reseau, Aide };
enum class TButtonLook { Normal, Over, Down };

// Picture of an image button in one look: 55 x 55, Reseau 56 x 56,
// Format_RGB32 with light-blue corners RGB(164, 192, 251).
QImage ButtonPicture(TButtonPicture button, TButtonLook look);

// Index of each picture of listeBmp.
inline constexpr int kGridPicture = 0;
inline constexpr int kYellowPiece = 1;
inline constexpr int kRedPiece = 2;
inline constexpr int kYellowTickedPiece = 3;
inline constexpr int kRedTickedPiece = 4;
inline constexpr int kListeBmpCount = 5;

// One picture of listeBmp, Format_ARGB32 (not premultiplied): 0 the grid
// overlay 490 x 420 with a transparent hole in each cell, 1 to 4 the pieces
// 70 x 70 (yellow, red, yellow ticked, red ticked). Throws TPictureError for
// an index outside 0..4. The high-contrast set has a white grid with black
// rims and pieces marked by shape: a ring on red, a cross on yellow.
QImage ListeBmp(int index, bool highContrast = false);

// Icon of the message log (ImageList1), Format_ARGB32 20 x 20, transparent
// where its mask says so: 0 grey gear, 1 person in blue, 2 computer screen,
// 3 person in pink. Throws TPictureError for an index outside 0..3.
// The high-contrast set marks the persons by their pieces' shapes.
inline constexpr int kLogIconCount = 4;
QImage LogIcon(int index, bool highContrast = false);

// The program's icon: 32 x 32 from program.ico, and the desktop's sizes
// from 16 to 256 pixels.
QIcon ProgramIcon();

// Reads a picture file, the decoder chosen by the file's extension (.jpg,
// .jpeg, .bmp). Throws TFileOpenError when the file cannot be opened, and
// TPictureError when its content cannot be decoded or its extension is unknown.
QImage LoadPictureFile(const QString& path);

}  // namespace zerud
