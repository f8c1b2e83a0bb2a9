#!/usr/bin/env python3
"""Plays the game through AT-SPI alone, as a screen reader user would.

screen_reader.py <pid of the game>

Finds the game's named controls, closes the start-up picture through the
action of "Fermer", starts a game through "Nouvelle partie", plays "Colonne 4"
and then any column that takes a piece until the game ends, reading the board's
cells and listening to the status text's announcements. Exits 0 when all went
as a player would hear it, 1 with the reason otherwise.
"""
import sys
import time

import pyatspi
from gi.repository import GLib

PID = int(sys.argv[1])
heard = []


def dump(accessible, depth=0):
    """Prints the accessible tree, for the reason of a failure."""
    if accessible is None or depth > 8:
        return
    try:
        print("%s%s %r" % ("  " * depth, accessible.getRoleName(), accessible.name))
        for child in accessible:
            dump(child, depth + 1)
    except Exception as error:
        print("%s(%s)" % ("  " * depth, error))


def fail(message):
    print("FAIL: " + message)
    print("heard: " + " | ".join(heard))
    print("the game as a screen reader sees it:")
    dump(game())
    sys.exit(1)


# Qt sends the object with the change, not its new name: the name is read
# at once, as a screen reader does (the game keeps each for a while).
def on_name(event):
    if event.source.getRoleName() == "status bar" and event.source.name:
        heard.append(event.source.name)


def pump(seconds, done):
    """Handles the bus's events until done() or the time is up."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        result = done()
        if result or time.monotonic() > end:
            return result
        time.sleep(0.05)


def game():
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == PID:
                return app
        except Exception:
            pass
    return None


def find(name, role=None):
    app = game()
    if app is None:
        return None
    return pyatspi.findDescendant(
        app,
        lambda a: a is not None and a.name == name and (role is None or a.getRoleName() == role),
        True,
    )


def showing(accessible):
    states = accessible.getState()
    return states.contains(pyatspi.STATE_SHOWING)


def enabled(accessible):
    return accessible.getState().contains(pyatspi.STATE_SENSITIVE)


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for i, name in enumerate(names):
        if name.lower() in ("press", "click"):
            action.doAction(i)
            return
    fail("%s has no press action (%s)" % (accessible.name, names))


def heard_with(text, since=0):
    return any(text in line for line in heard[since:])


pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")

# The start-up picture comes first, alone.
fermer = pump(30, lambda: find("Fermer", "push button"))
if not fermer:
    fail("no button \"Fermer\" in the start-up picture")
press(fermer)

start = pump(20, lambda: (lambda b: b if b and showing(b) else None)(find("Nouvelle partie")))
if not start:
    fail("no button \"Nouvelle partie\" shown after \"Fermer\"")
for name in ["Options", "Réseau", "Aide", "Quitter", "Effacer", "Envoyer"]:
    if not find(name, "push button"):
        fail("no button \"%s\"" % name)
level = find("Niveau de réflexion de la machine : Débutant", "slider")
if not level:
    fail("the level's bar does not say its value")
columns = [find("Colonne %d" % (c + 1), "push button") for c in range(7)]
if not all(columns):
    fail("not every column is a button \"Colonne 1\" .. \"Colonne 7\"")
if any(enabled(c) for c in columns):
    fail("a column is available before any game")
grid = find("Grille", "table")
if not grid or grid.queryTable().nRows != 6 or grid.queryTable().nColumns != 7:
    fail("the grid is not a table of 6 rows and 7 columns")


def cell(row_from_bottom, column):
    """The name of a cell, rows and columns counted from 1."""
    return grid.queryTable().getAccessibleAt(6 - row_from_bottom, column - 1).name


if cell(1, 4) != "Ligne 1, colonne 4 : vide":
    fail("an empty cell reads %r" % cell(1, 4))

press(start)
if not pump(20, lambda: heard_with("Début de la partie")):
    fail("the start of the game was not announced")
# The machine may begin: then it is heard thinking and moving first.
if not pump(20, lambda: enabled(columns[3])):
    fail("\"Colonne 4\" never became available")
row = next(r for r in range(1, 7) if cell(r, 4).endswith(": vide"))

before = len(heard)
press(columns[3])
if not pump(20, lambda: heard_with("Rouge joue la colonne 4", before)):
    fail("the move in column 4 was not announced")
expected = "Ligne %d, colonne 4 : pion rouge" % row
if not pump(10, lambda: cell(row, 4) == expected):
    fail("the cell reads %r, not %r" % (cell(row, 4), expected))
if not pump(30, lambda: heard_with("La machine réfléchit", before)):
    fail("the machine's thinking was not announced")
if not pump(30, lambda: heard_with("Jaune joue la colonne", before)):
    fail("the machine's move was not announced")

# Then any column with room, until the end is heard.
for _ in range(21):
    if pump(30, lambda: heard_with("Fin de la partie") or any(enabled(c) for c in columns)):
        if heard_with("Fin de la partie"):
            break
    free = [c for c in columns if enabled(c)]
    if not free:
        fail("no column available and no end heard")
    press(free[0])
    pump(30, lambda: heard_with("Fin de la partie") or not any(enabled(c) for c in columns))
if not pump(30, lambda: heard_with("Fin de la partie")):
    fail("the end of the game was not announced")

# A won game shows its four.
names = [cell(r, c) for r in range(1, 7) for c in range(1, 8)]
if "égalité" not in heard[-1].lower() and sum(", gagnant" in n for n in names) < 4:
    fail("the winning four is not read as such: %s" % names)
print("heard: " + " | ".join(heard))
