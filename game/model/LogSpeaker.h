#pragma once

namespace zerud {

// Who speaks in a line of the message log; it picks the row's colour and
// icon. The game hands it with every line, so the log never reads it out of
// the text.
enum class TSpeaker {
  None,     // a plain line: the start, the end, the result
  Human1,   // a move of the local player with the red pieces
  Human2,   // a move of the local player with the yellow pieces
  Machine,  // the machine thinking or moving
  Peer,     // the peer's move
  Hint,     // the column the game advises
};

}  // namespace zerud
