#pragma once

// The program's five windows, each created once in main() and kept until the
// process ends.
namespace zerud {

class TFormMain;
class TFormReseau;
class TFormBlack;
class TFormSplash;
class TFormDialog;

extern TFormMain* FormMain;
extern TFormReseau* FormReseau;
extern TFormBlack* FormBlack;
extern TFormSplash* FormSplash;
extern TFormDialog* FormDialog;

}  // namespace zerud
