#!/usr/bin/env bash
# The help document the build wrote is an A4 PDF with numbered pages holding
# the help's chapters in French.
#   check_help_pdf.sh <Aide.pdf>
set -euo pipefail
pdf=$1
for tool in pdfinfo pdftotext; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (Debian package poppler-utils)"
    exit 77
  fi
done
[ -s "$pdf" ] || { echo "FAIL: $pdf is missing or empty"; exit 1; }

pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
size=$(pdfinfo "$pdf" | awk '/^Page size:/ {print $3 "x" $5}')
echo "pages: $pages, page size: $size pt"
[ "$pages" -ge 3 ] || { echo "FAIL: only $pages pages"; exit 1; }
[ "$size" = "595x842" ] || { echo "FAIL: not A4"; exit 1; }

# One line, non-breaking spaces as plain ones, so broken phrases are found.
text=$(pdftotext -enc UTF-8 "$pdf" - | tr '\n' ' ' | sed 's/\xc2\xa0/ /g; s/  */ /g')
status=0
for expected in "Zerud uravizera4" "Le but du jeu" "Les trois modes de jeu" \
  "Joueur contre la machine" "2 joueurs humains" "Les options" "Opacité des pions" \
  "Vitesse d'animation" "Niveau de réflexion de la machine" "Jouer en réseau" \
  "MODE SERVEUR" "MODE CLIENT" "Nouvelle partie" "290672" "28528" "La discussion" "Envoyer" "Effacer" \
  "scores.txt" "2222|10000" "1111|-10000" "Êtes-vous sûr(e) de vouloir quitter"; do
  if ! grep -qF -- "$expected" <<<"$text"; then
    echo "FAIL: the help does not mention \"$expected\""
    status=1
  fi
done
for n in $(seq 1 "$pages"); do
  if ! pdftotext -f "$n" -l "$n" -layout "$pdf" - | grep -qE "^ *$n *$"; then
    echo "FAIL: page $n has no page number"
    status=1
  fi
done
exit $status
