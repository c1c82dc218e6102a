// The X11 hack's event loop: frames on a monotonic clock, sleeping in poll() on the X connection
// between them; Expose, resize and the end signals (SIGTERM, SIGINT, SIGHUP). Xlib only.
#pragma once

// Installs the end signals' handlers; they only wake WaitForX. False when the wake-up pipe fails.
bool InstallEndSignals();

// Sleeps in poll() on the X connection (when open) and the signal pipe, at most timeoutMs (-1: no
// limit). False once an end signal has arrived.
bool WaitForX(int timeoutMs);

// Ends the process as a signal or the own window's input asks: image detached, connection closed,
// exit code 0.
[[noreturn]] void EndHack();

// Runs the animation in HackWindow until EndHack. CubeHalfEdge and FrameInterval hold the settings'
// values; a preview-sized window takes the preview's.
[[noreturn]] void RunHack();
