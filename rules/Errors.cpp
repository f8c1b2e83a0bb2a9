#include "rules/Errors.h"

namespace zerud {

namespace {
constexpr const char* kNotAnIntegerBefore = "'";
constexpr const char* kNotAnIntegerAfter = "' n'est pas une valeur entière correcte";
constexpr const char* kCannotOpenFile = "Impossible d'ouvrir le fichier ";
}  // namespace

TConvertError::TConvertError(const std::string& text)
    : TGameError(kNotAnIntegerBefore + text + kNotAnIntegerAfter), text_(text) {}

TFileOpenError::TFileOpenError(const std::string& path)
    : TGameError(kCannotOpenFile + path), path_(path) {}

}  // namespace zerud
