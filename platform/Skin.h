#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "platform/Fonts.h"

// The game's look in one place: the blues and the lavender its windows and
// buttons are painted in, and the fonts their captions are set in.
namespace zerud::skin {

// Panels, edit fields, the chat buttons and the quit confirmation's face.
inline const QColor kPaleBlue{208, 223, 255};
// The main window's panels, the message log and the "Fermer" buttons' hover.
inline const QColor kLightBlue{164, 192, 251};
// The network window, the status and score bars and the dialogs' buttons.
inline const QColor kMidBlue{144, 178, 255};
// The option captions, the "Fermer" buttons and the chat buttons' hover.
inline const QColor kLavender{128, 128, 192};
// The quit confirmation's frame and the dialogs' button outlines and hover.
inline const QColor kRoyalBlue{0, 66, 217};
// The "Fermer" buttons' outline.
inline const QColor kNavy{0, 0, 128};
// The message log's speaker rows.
inline const QColor kLilac{190, 155, 220};
inline const QColor kPaleLilac{242, 226, 253};
// The machine's level bar runs from the first level's blue to the last's red.
inline const QColor kLevelLow{0, 128, 255};
inline const QColor kLevelHigh{255, 0, 0};
// Our own lines in the chat, told apart from the peer's black ones.
inline const QColor kOwnChat{0, 66, 217};

// The colour with an opacity (0 to 255), as a style sheet writes it.
inline QString CssWithAlpha(const QColor& colour, int alpha) {
  return QStringLiteral("rgba(%1, %2, %3, %4)")
      .arg(colour.red())
      .arg(colour.green())
      .arg(colour.blue())
      .arg(alpha);
}

// The colour as a style sheet writes it: "rgb(r, g, b)".
inline QString Css(const QColor& colour) {
  return QStringLiteral("rgb(%1, %2, %3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

// Captions, buttons, fields and the dialogs' texts.
inline QFont CaptionFont() { return PixelFont(QStringLiteral("Tahoma"), 13); }
// The network window's long server caption, a pixel smaller to fit its box.
inline QFont NarrowCaptionFont() { return PixelFont(QStringLiteral("Tahoma"), 12); }
// The chat line, its buttons, the status bar and the option boxes.
inline QFont SmallFont() { return PixelFont(QStringLiteral("Tahoma"), 11); }
// The result over the board at the end of a game.
inline QFont ResultFont() { return PixelFont(QStringLiteral("Tahoma"), 36, true); }
// The chat received.
inline QFont ChatFont() { return PixelFont(QStringLiteral("Arial"), 14, true); }
// The elapsed-time clock.
inline QFont ClockFont() { return PixelFont(QStringLiteral("Arial"), 13, true); }
// The main window's own font, which its plain controls inherit.
inline QFont WindowFont() { return PixelFont(QStringLiteral("MS Sans Serif"), 11); }
// The hidden trace memo.
inline QFont TraceFont() { return PixelFont(QStringLiteral("Lucida Console"), 12); }

}  // namespace zerud::skin
