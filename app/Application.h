#pragma once

#include <QApplication>

namespace zerud {

// The application object. It carries the program's title and catches every
// exception that escapes an event handler: the error's text is shown in a
// message box titled "Zerud uravizera4" and the event loop goes on.
class TApplication : public QApplication {
  Q_OBJECT

 public:
  static inline const QString kTitle = QStringLiteral("Zerud uravizera4");
  // The menu entry packaging/org.zerud.uravizera4.desktop, without ".desktop".
  static inline const QString kDesktopId = QStringLiteral("org.zerud.uravizera4");
  // Shown for an exception that carries no text of its own.
  static inline const QString kUnknownError = QStringLiteral("Erreur inattendue");

  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zerud
