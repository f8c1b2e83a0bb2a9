#pragma once

class QWidget;

// How the game's windows stay in front of the black backdrop.
//
// Under X11 the game places and raises its windows itself. A Wayland
// compositor lets a client do neither: it decides where windows go and which
// is on top, and it hides ordinary windows behind one that is full screen.
// What it does honour is a window's transient parent, shown below it.
//
// Transients over a full-screen window must not overlap, though: sway 1.7
// gives a click to the lowest of them under the pointer while it draws the
// highest on top, and raises the window clicked. The quit confirmation would
// lose "Oui" and "Non" to the main window beneath and vanish behind it,
// leaving the game waiting for an answer nobody can see. So the windows
// drawn over the main window become parts of it on Wayland.
namespace zerud {

// Whether the windows go through a Wayland compositor.
bool OnWayland();

// Keeps `window` above `backdrop` on Wayland by making the backdrop its
// transient parent; call it before the window is first shown. Under X11 it
// does nothing: there the backdrop brings the main window forward itself.
void StackAboveBackdrop(QWidget* window, QWidget* backdrop);

// Shows the modal `window` on Wayland as a pop-up of `owner`; elsewhere it
// does nothing. Like any pop-up it closes when the player clicks elsewhere,
// which suits a modal window whose every other way out means "Non".
void ShowAsPopupOf(QWidget* window, QWidget* owner);

// Makes `window` a part of `owner` on Wayland, drawn inside it above its
// other controls; elsewhere it does nothing. Call it before the window is
// first shown.
void EmbedInOwner(QWidget* window, QWidget* owner);

}  // namespace zerud
