#pragma once

// The program's five windows, each created once in main() and kept until the
// process ends.
namespace zerud {

class TFormMain;
class TFormBlack;
class TFormSplash;
class TFormDialog;

extern TFormMain* FormMain;
extern TFormBlack* FormBlack;
extern TFormSplash* FormSplash;
extern TFormDialog* FormDialog;

}  // namespace zerud
