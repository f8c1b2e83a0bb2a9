#include "game/window/Announcer.h"

#include <QRegularExpression>
#include <algorithm>

#include "game/model/GameTexts.h"

namespace zerud {
namespace {

// A chat line is said up to this length.
constexpr qsizetype kChatSpoken = 300;

QString ColourName(int player) {
  return player == 1 ? QStringLiteral("Rouge") : QStringLiteral("Jaune");
}

}  // namespace

TAnnouncer::TAnnouncer(QObject* parent) : QObject(parent) {
  flush_.setSingleShot(true);
  connect(&flush_, &QTimer::timeout, this, &TAnnouncer::Flush);
}

QString TAnnouncer::ColumnName(int column) { return QString::number(column + 1); }

// The log counts columns from 0; the player hears them from 1.
void TAnnouncer::LogLine(const QString& line, TSpeaker speaker) {
  using namespace texts;
  if (line == kGameStart) {
    Say(QStringLiteral("Début de la partie"));
  } else if (line == kHumanBegins) {
    Say(QStringLiteral("Rouge commence"));
  } else if (line == kMachineBegins) {
    Say(QStringLiteral("La machine commence"));
  } else if (line == kYouBegin || line == kPeerBegins || line == kInterrupted ||
             line == kPeerGone) {
    Say(line);
  } else if (line == kMachineThinks) {
    Say(QStringLiteral("La machine réfléchit"));
  } else if (speaker == TSpeaker::Hint) {
    static const QRegularExpression hint(QStringLiteral("n° (\\d) ?(.*)$"));
    const QRegularExpressionMatch match = hint.match(line);
    if (match.hasMatch())
      Say(QStringLiteral("Conseil : jouez la colonne %1 %2")
              .arg(ColumnName(match.captured(1).toInt()), match.captured(2))
              .trimmed());
  }
}

void TAnnouncer::Move(int player, int column) {
  Say(QStringLiteral("%1 joue la colonne %2").arg(ColourName(player), ColumnName(column)));
}

void TAnnouncer::Undone(int column) {
  Say(QStringLiteral("Coup annulé dans la colonne %1").arg(ColumnName(column)));
}

void TAnnouncer::Result(const QString& text) {
  if (!text.isEmpty()) Say(QStringLiteral("Fin de la partie : %1").arg(text));
}

// The peer's text is said as it came, cut to a length worth hearing.
void TAnnouncer::PeerChat(const QString& line) {
  Say(QStringLiteral("Message de l'adversaire : %1").arg(line.left(kChatSpoken)));
}

void TAnnouncer::Say(const QString& sentence) {
  pending_.append(sentence);
  if (flush_.isActive()) return;
  const qint64 held = said_.isValid() ? said_.elapsed() : kHoldMs;
  flush_.start(static_cast<int>(std::max<qint64>(0, kHoldMs - held)));
}

void TAnnouncer::Flush() {
  if (pending_.isEmpty()) return;
  text_ = pending_.join(QStringLiteral(". "));
  pending_.clear();
  said_.start();
  emit Announced(text_);
}

}  // namespace zerud
