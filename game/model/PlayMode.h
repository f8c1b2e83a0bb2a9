#pragma once

namespace zerud {

// How a game is played; taken when the game starts and kept for it.
enum class TPlayMode { Machine, TwoHumans, Network };

}  // namespace zerud
