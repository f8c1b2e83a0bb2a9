// Backgrounds of the main window's left column and of its options panel.
#pragma once

#include <QImage>

namespace zerud::art {

// 237 x 600: title banner, wells behind the four image buttons, framed areas
// for the message log and the chat, a strip behind the network status.
QImage DrawLeftPanel();

// 800 x 536: heading band, two translucent boxes behind the option
// controls, a box of notes on the right.
QImage DrawOptionsPanel();

}  // namespace zerud::art
