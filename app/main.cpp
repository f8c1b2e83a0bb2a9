// Entry point of Zerud uravizera4: creates the windows in their order, shows
// the black backdrop and the start-up picture, then runs the event loop with
// the main window in front. No command-line argument or environment variable
// of the game's own is read; the settings kept between runs are read from
// the user's configuration folder.

#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Application.h"
#include "app/FormBlack.h"
#include "app/FormDialog.h"
#include "app/FormSplash.h"
#include "app/Forms.h"
#include "app/KeptSettings.h"
#include "app/WindowStack.h"
#include "assets/Pictures.h"
#include "game/window/FormMain.h"
#include "network/FormReseau.h"
#include "platform/ErrorDisplay.h"

namespace zerud {

TFormMain* FormMain = nullptr;
TFormReseau* FormReseau = nullptr;
TFormBlack* FormBlack = nullptr;
TFormSplash* FormSplash = nullptr;
TFormDialog* FormDialog = nullptr;

namespace {

int Run(TApplication& application) {
  application.setWindowIcon(ProgramIcon());

  // Step 2. The main window, first of all: its creation reads scores.txt and
  // images/bg.jpg beside the executable before anything is shown.
  auto formMain = std::make_unique<TFormMain>(QCoreApplication::applicationDirPath());
  FormMain = formMain.get();

  // Step 3. The network window, hidden: it shows this machine's address and
  // takes the server role, and becomes the main window's network link.
  auto formReseau = std::make_unique<TFormReseau>(FormMain->GameLink());
  FormReseau = formReseau.get();

  // The options and the network fields as the player left them last time.
  new TSettingsKeeper(*FormMain, *FormReseau, KeptSettingsFile());

  // Step 4. The backdrop, the start-up picture and the quit confirmation,
  // all hidden for now.
  auto formBlack = std::make_unique<TFormBlack>();
  FormBlack = formBlack.get();
  auto formSplash = std::make_unique<TFormSplash>();
  FormSplash = formSplash.get();
  auto formDialog = std::make_unique<TFormDialog>();
  FormDialog = formDialog.get();

  FormBlack->SetMainWindow(FormMain);
  FormDialog->SetMainWindow(FormMain);
  FormMain->SetCloseConfirmation([] { return FormDialog->ShowModal(); });
  // The game ends at once, without destructors: the other players on the
  // local network are told first that this one no longer waits.
  FormMain->SetProcessEnd([](int status) {
    FormReseau->FormDestroy();
    std::fflush(nullptr);
    std::_Exit(status);
  });
  StackAboveBackdrop(FormSplash, FormBlack);
  StackAboveBackdrop(FormMain, FormBlack);
  ShowAsPopupOf(FormDialog, FormMain);
  EmbedInOwner(FormReseau, FormMain);

  // Step 5. The screen turns black before anything else appears.
  FormBlack->ShowBackdrop();

  // Step 6. The start-up picture, until the player closes it.
  FormSplash->ShowModal();

  // Step 7. The main window comes up in front of the backdrop as the loop
  // starts; the loop runs until the process ends.
  QTimer::singleShot(0, FormMain, [] {
    FormMain->show();
    FormMain->raise();
    FormMain->activateWindow();
  });
  return application.exec();
}

}  // namespace
}  // namespace zerud

int main(int argc, char** argv) {
  // Step 1. The application object and its title.
  zerud::TApplication application(argc, argv);
  try {
    return zerud::Run(application);
  } catch (const std::exception& error) {
    // A failure before the event loop runs has nowhere else to go.
    zerud::ShowError(QString::fromUtf8(error.what()));
    return 1;
  }
}
