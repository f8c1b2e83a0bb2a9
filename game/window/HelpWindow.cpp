#include "game/window/HelpWindow.h"

#include <QFile>
#include <QPalette>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "assets/help/HelpText.h"
#include "platform/Centring.h"
#include "rules/Errors.h"

namespace zerud {

namespace {

const QString kHelpWindowTitle = QStringLiteral("Aide de Zerud uravizera4");
// %1: the file's path.
const QString kEmptyHelp = QStringLiteral("Le fichier d'aide %1 est vide.");

// About the width of a page of Aide.pdf, and as tall as the screen allows.
constexpr int kWidth = 760;
constexpr int kHeight = 900;
constexpr int kScreenMargin = 40;
// The page's margin around the text.
constexpr int kTextMargin = 24;

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(kHelpWindowTitle);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setSizeGripEnabled(true);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpText"));
  browser_->setOpenLinks(false);
  browser_->setOpenExternalLinks(false);
  browser_->setFrameShape(QFrame::NoFrame);
  browser_->document()->setDocumentMargin(kTextMargin);
  // Black on white, as printed, whatever the desktop's colours: the
  // headings' blues are chosen for a white page.
  QPalette page = browser_->palette();
  page.setColor(QPalette::Base, Qt::white);
  page.setColor(QPalette::Text, Qt::black);
  browser_->setPalette(page);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(kWidth, kHeight);
}

void THelpWindow::Open(const QString& sourceFile) {
  if (!isVisible()) {
    QFile file(sourceFile);
    if (!file.open(QIODevice::ReadOnly)) throw TFileOpenError(sourceFile.toStdString());
    const QString text = QString::fromUtf8(file.readAll());
    if (text.trimmed().isEmpty()) throw TGameError(kEmptyHelp.arg(sourceFile).toStdString());
    browser_->setHtml(help::HelpTextToHtml(text));

    if (!placed_) {
      if (const QScreen* desktop = screen()) {
        const QRect area = desktop->availableGeometry();
        resize(std::min(kWidth, area.width() - kScreenMargin),
               std::min(kHeight, area.height() - kScreenMargin));
        move(CentredTopLeft(area, size()));
      }
      placed_ = true;
    }
    show();
  }
  raise();
  activateWindow();
  browser_->setFocus();
}

}  // namespace zerud
