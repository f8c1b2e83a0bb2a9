// Errors raised by the game's code. Every error carries the French text
// shown to the player, in UTF-8, as its what().
#pragma once

#include <stdexcept>
#include <string>

namespace zerud {

// Base of every error of the game. The window that catches it shows what().
class TGameError : public std::runtime_error {
 public:
  explicit TGameError(const std::string& message) : std::runtime_error(message) {}
};

// A text that should hold an integer does not:
// "'<text>' n'est pas une valeur entière correcte".
class TConvertError : public TGameError {
 public:
  explicit TConvertError(const std::string& text);
  // The offending text, as it was given.
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// A file could not be opened for reading: "Impossible d'ouvrir le fichier <path>".
class TFileOpenError : public TGameError {
 public:
  explicit TFileOpenError(const std::string& path);
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace zerud
