// The X11 hack's window: connects, makes or adopts the window, and names the inputs that end it.
// Knows nothing of the cube or of images.
#include "x11/x11_window.h"

#include <X11/Xutil.h>

#include <cstdio>

#include "shell/saver_rules.h"

Display* HackDisplay = nullptr;
Window HackWindow = 0;
HackTarget HackTargetKind = kTargetOwnWindow;
int HackWindowGone = 0;
Visual* HackVisual = nullptr;
int HackDepth = 0;
GC HackGc = nullptr;

namespace {

Atom DeleteWindowAtom = 0;
constexpr int kOwnWidth = 1024;  // the own window's first size; the user may resize it
constexpr int kOwnHeight = 768;

Window CreateOwnWindow() {
  int screen = DefaultScreen(HackDisplay);
  Window window = XCreateSimpleWindow(HackDisplay, RootWindow(HackDisplay, screen), 0, 0, kOwnWidth, kOwnHeight, 0,
                                      BlackPixel(HackDisplay, screen), BlackPixel(HackDisplay, screen));
  XStoreName(HackDisplay, window, "WhirlBox");
  XClassHint hint = {const_cast<char*>("whirlbox"), const_cast<char*>("WhirlBox")};
  XSetClassHint(HackDisplay, window, &hint);
  DeleteWindowAtom = XInternAtom(HackDisplay, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(HackDisplay, window, &DeleteWindowAtom, 1);
  XSelectInput(HackDisplay, window, ExposureMask | StructureNotifyMask | KeyPressMask | ButtonPressMask);
  XMapWindow(HackDisplay, window);
  return window;
}

// A wrong id must not end the process through Xlib's default handler: the request fails quietly.
int LookupFailed = 0;
int NoteLookupError(Display*, XErrorEvent*) {
  LookupFailed = 1;
  return 0;
}

// Xlib's default handler ends the process on any error. A window destroyed under the hack makes
// its next copies fail with BadWindow or BadDrawable: that ends the hack quietly, as the loop sees.
int NoteWindowError(Display*, XErrorEvent* error) {
  if (error->resourceid == HackWindow && (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    HackWindowGone = 1;
  }
  return 0;
}

}  // namespace

bool OpenHackWindow(const HackOptions& options) {
  HackDisplay = XOpenDisplay(nullptr);
  if (HackDisplay == nullptr) {
    const char* name = XDisplayName(nullptr);
    std::fprintf(stderr, "whirlbox: cannot open the display '%s'%s\n", name,
                 *name == '\0' ? " (DISPLAY is not set)" : "");
    return false;
  }
  HackTargetKind = options.target;
  if (options.target == kTargetOwnWindow) {
    HackWindow = CreateOwnWindow();
  } else {
    HackWindow = options.target == kTargetRoot ? DefaultRootWindow(HackDisplay) : options.windowId;
    // Others' windows: only their size and exposure; a key or button mask there belongs to their owner.
    int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler(NoteLookupError);
    XSelectInput(HackDisplay, HackWindow, ExposureMask | StructureNotifyMask);
    XSync(HackDisplay, False);
    XSetErrorHandler(previous);
  }
  XWindowAttributes attributes;
  int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler(NoteLookupError);
  Status known = XGetWindowAttributes(HackDisplay, HackWindow, &attributes);
  XSetErrorHandler(previous);
  if (LookupFailed || known == 0) {
    std::fprintf(stderr, "whirlbox: there is no window 0x%lx on this display\n", HackWindow);
    XCloseDisplay(HackDisplay);
    HackDisplay = nullptr;
    return false;
  }
  HackVisual = attributes.visual;
  HackDepth = attributes.depth;
  ViewWidth = attributes.width;
  ViewHeight = attributes.height;
  HackGc = XCreateGC(HackDisplay, HackWindow, 0, nullptr);
  XSetErrorHandler(NoteWindowError);
  return true;
}

bool EndsHack(const XEvent& event) {
  if (event.type == DestroyNotify && event.xdestroywindow.window == HackWindow) return true;
  if (HackTargetKind != kTargetOwnWindow) return false;
  if (event.type == KeyPress || event.type == ButtonPress) return true;
  return event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == DeleteWindowAtom;
}

void CloseHackWindow() {
  if (HackDisplay == nullptr) return;
  XCloseDisplay(HackDisplay);
  HackDisplay = nullptr;
}
