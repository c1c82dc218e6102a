// The X11 hack's connection and window: the display, the window it draws in (its own, the root, or
// one given by id), the events it listens to, and the inputs that end its own window. Xlib only.
#pragma once
#include <X11/Xlib.h>

#include "x11/hack_options.h"

extern Display* HackDisplay;    // null until OpenHackWindow succeeded
extern Window HackWindow;
extern HackTarget HackTargetKind;
extern Visual* HackVisual;      // the window's visual and depth, for its images
extern int HackDepth;
extern GC HackGc;

// Connects to $DISPLAY and takes the window options name: creates the top-level window "WhirlBox"
// or listens to the root or the given window for its size and exposure. Sets ViewWidth and
// ViewHeight to its size. False, with a message on stderr, when there is no display or no such
// window (nothing can be drawn then).
bool OpenHackWindow(const HackOptions& options);

// True for an event that ends the hack: in its own window a key, a click or the window manager's
// close; in any window its destruction (a locker or a settings GUI that closed it). Otherwise the
// windows of others and the root end only when the hack is killed.
bool EndsHack(const XEvent& event);

// Set by the X error handler when a request failed because the window is gone; the loop then ends.
extern int HackWindowGone;

// Closes the connection cleanly; the server then frees everything the hack made.
void CloseHackWindow();
