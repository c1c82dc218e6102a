// A window made by another client, for the hack's -window-id and XSCREENSAVER_WINDOW tests, as a
// settings GUI's preview or a locker makes one: prints its id in hex, then stays until killed.
//   host_window <W>x<H>+<X>+<Y> [white]
// Without "white" it has no background, so what covered it stays on screen until its owner redraws:
// an Expose test can then see whether the hack repainted. Xlib only.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  unsigned width = 0, height = 0;
  int x = 0, y = 0;
  if (argc < 2 || std::sscanf(argv[1], "%ux%u+%d+%d", &width, &height, &x, &y) != 4 || width == 0 || height == 0) {
    std::fprintf(stderr, "usage: host_window <W>x<H>+<X>+<Y> [white]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "host_window: cannot open the display\n");
    return 1;
  }
  XSetWindowAttributes attributes = {};
  bool white = argc > 2 && std::strcmp(argv[2], "white") == 0;
  unsigned long mask = CWOverrideRedirect;
  attributes.override_redirect = True;  // placed where asked, even under a window manager
  if (white) {
    attributes.background_pixel = WhitePixel(display, DefaultScreen(display));
    mask |= CWBackPixel;
  } else {
    attributes.background_pixmap = None;
    mask |= CWBackPixmap;
  }
  Window window = XCreateWindow(display, DefaultRootWindow(display), x, y, width, height, 0, CopyFromParent,
                                InputOutput, CopyFromParent, mask, &attributes);
  XMapRaised(display, window);
  XSync(display, False);
  std::printf("0x%lx\n", window);
  std::fflush(stdout);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);  // nothing is selected: this only keeps the connection open
  }
}
