// The lines the game writes into the message log.
#pragma once

#include <QString>

namespace zerud::texts {

inline const QString kGameStart = QStringLiteral("DEBUT DE LA PARTIE");
inline const QString kNetworkMode = QStringLiteral("MODE MULTI-JOUEURS");
inline const QString kYouBegin = QStringLiteral("Vous commencez la partie");
inline const QString kPeerBegins = QStringLiteral("Votre adversaire commence la partie");
inline const QString kHumanBegins = QStringLiteral("Joueur \"HUMAIN-1\" commence");
inline const QString kMachineBegins = QStringLiteral("Joueur \"MACHINE\" commence");
inline const QString kHumanMove = QStringLiteral("[HUMAIN-%1] : Je joue la colonne n° %2");
inline const QString kMachineThinks = QStringLiteral("[MACHINE] : Je réfléchis...");
inline const QString kMachineMove = QStringLiteral("[MACHINE] : Je joue la colonne n° %1");
inline const QString kPeerMove =
    QStringLiteral("[ADVERSAIRE-%1] : Adversaire a joué la colonne n°");
inline const QString kGameEnd = QStringLiteral("FIN DE LA PARTIE");
inline const QString kDraw = QStringLiteral("Egalité !");
inline const QString kLocalWin = QStringLiteral("Joueur des %1 a gagné !");
inline const QString kNetworkWin = QStringLiteral("Bravo, vous avez gagné !");
inline const QString kLost = QStringLiteral("Désolé, vous avez perdu !");
inline const QString kInterrupted =
    QStringLiteral("Partie interrompue : cliquez sur « Nouvelle partie » pour rejouer.");
inline const QString kPeerGone = QStringLiteral("La connexion avec votre adversaire est perdue.");

// The hint: the column, then what perfect play makes of it, or that the
// search ran out of time.
inline const QString kHint = QStringLiteral("[CONSEIL] : Jouez la colonne n° %1");
inline const QString kHintWins = QStringLiteral(" (gagnant)");
inline const QString kHintDraws = QStringLiteral(" (nul)");
inline const QString kHintLoses = QStringLiteral(" (perdant)");
inline const QString kHintEstimate = QStringLiteral(" (estimation)");

inline const QString kUndone = QStringLiteral("Coup annulé : colonne n° %1");

// A game's record pasted, or why it was not.
inline const QString kPasted = QStringLiteral("Partie collée : %1");
inline const QString kRecordEmpty = QStringLiteral("Partie refusée : aucun coup à coller.");
inline const QString kRecordNotAColumn =
    QStringLiteral("Partie refusée : « %1 » n'est pas une colonne de 1 à 7 (coup n° %2).");
inline const QString kRecordFullColumn =
    QStringLiteral("Partie refusée : la colonne %1 est pleine au coup n° %2.");
inline const QString kRecordAfterFour =
    QStringLiteral("Partie refusée : le coup n° %1 suit un alignement de quatre.");
inline const QString kRecordTooLong = QStringLiteral("Partie refusée : plus de 42 coups.");
inline const QString kScore = QStringLiteral("Score : %1 - %2");
inline const QString kScoreDraws = QStringLiteral(", %1 nul(s)");
inline const QString kScoreShown = QStringLiteral("%1-%2");

// The result over the board once the end has been shown.
inline const QString kResultWon = QStringLiteral("Gagné !");
inline const QString kResultLost = QStringLiteral("Perdu !");
inline const QString kResultRedWins = QStringLiteral("Les rouges gagnent !");
inline const QString kResultYellowWins = QStringLiteral("Les jaunes gagnent !");
inline const QString kResultDraw = QStringLiteral("Égalité !");

}  // namespace zerud::texts
