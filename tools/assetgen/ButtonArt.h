// The pictures of the four image buttons of the left panel.
#pragma once

#include <QImage>

namespace zerud::art {

enum class TButtonArt { Start, Options, Reseau, Aide };
enum class TButtonState { Normal, Over, Down };

// Side of each button's square picture: 55, the network button 56.
int ButtonSide(TButtonArt button);

// A round glossy button on the panel's light blue RGB(164, 192, 251), which
// fills the corners exactly; Over is lighter and Down darker inside the disc
// only. Format_RGB32.
QImage DrawButton(TButtonArt button, TButtonState state);

}  // namespace zerud::art
