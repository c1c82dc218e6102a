// The X11 hack's event loop and its end signals. Calls the portable frame step (DrawCube) and the
// image copy; never draws pixels itself.
#include "x11/x11_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <initializer_list>

#include "render/draw_cube.h"
#include "render/surface.h"
#include "settings/settings_file.h"
#include "shell/fatal.h"
#include "shell/saver_rules.h"
#include "x11/x11_image.h"
#include "x11/x11_window.h"

namespace {

int WakePipe[2] = {-1, -1};  // the signal handler writes, poll() reads
volatile sig_atomic_t EndSignal = 0;

void OnEndSignal(int) {
  EndSignal = 1;
  int saved = errno;
  char byte = 1;
  ssize_t ignored = write(WakePipe[1], &byte, 1);  // a full pipe already wakes poll()
  (void)ignored;
  errno = saved;
}

int64_t NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int SettingsHalfEdge = 0;  // the settings' values, kept for a window that grows out of the preview size
int SettingsInterval = 0;
int Interval = 0;          // the current view's frame period, ms

// The animation from its start for the window's current size: new surfaces, a new image, the
// preview rule applied again, and the whole view drawn by the first frame.
void StartAnimation() {
  DestroyHackImage();
  FreeSurface(&BackSurface);
  FreeSurface(&FaceSurface);
  if (!AllocateSurface(ViewWidth, ViewHeight, &BackSurface) || !AllocateSurface(ViewWidth, ViewHeight, &FaceSurface)) {
    Abort(kFatalViewMemory, ViewWidth, ViewHeight);
  }
  if (!CreateHackImage()) Abort(kFatalViewImage, ViewWidth, ViewHeight);
  ViewRules rules = RulesForView(HackTargetKind, ViewWidth, ViewHeight, SettingsHalfEdge, SettingsInterval);
  CubeHalfEdge = rules.halfEdge;
  Interval = rules.interval;
  ResetCubeState();
  DirtyRect = Rect{0, 0, ViewWidth, ViewHeight};
}

// One event. Returns true when the animation must start again for a new size.
bool HandleEvent(const XEvent& event) {
  if (EndsHack(event)) EndHack();
  if (event.type == Expose) {
    // xsecurelock's window keeps no backing store: the exposed part comes back from the image at once.
    const XExposeEvent& e = event.xexpose;
    RepaintWindow(Rect{e.x, e.y, e.x + e.width, e.y + e.height});
  } else if (event.type == ConfigureNotify && event.xconfigure.window == HackWindow &&
             (event.xconfigure.width != ViewWidth || event.xconfigure.height != ViewHeight)) {
    ViewWidth = event.xconfigure.width;
    ViewHeight = event.xconfigure.height;
    return true;
  }
  return false;
}

}  // namespace

bool InstallEndSignals() {
  if (pipe(WakePipe) != 0) return false;
  for (int fd : WakePipe) {
    fcntl(fd, F_SETFL, O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  struct sigaction action = {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
  return true;
}

bool WaitForX(int timeoutMs) {
  if (EndSignal) return false;
  pollfd fds[2] = {{WakePipe[0], POLLIN, 0}, {-1, POLLIN, 0}};
  if (HackDisplay != nullptr) {
    XFlush(HackDisplay);
    fds[1].fd = ConnectionNumber(HackDisplay);
  }
  poll(fds, 2, timeoutMs);  // EINTR from a signal is an answer too
  return !EndSignal;
}

void EndHack() {
  DestroyHackImage();
  CloseHackWindow();
  std::exit(0);
}

void RunHack() {
  SettingsHalfEdge = CubeHalfEdge;
  SettingsInterval = FrameInterval;
  StartAnimation();
  int64_t next = NowMs();
  for (;;) {
    bool restart = false;
    while (XPending(HackDisplay) > 0) {
      XEvent event;
      XNextEvent(HackDisplay, &event);
      restart = HandleEvent(event) || restart;
    }
    if (EndSignal || HackWindowGone) EndHack();
    if (restart) {
      StartAnimation();
      next = NowMs();
    }
    int64_t now = NowMs();
    if (now >= next) {
      CopyToWindow(DrawCube());
      // A late frame moves the clock on rather than drawing a burst to catch up.
      next = next + Interval > now ? next + Interval : now + Interval;
      continue;
    }
    if (!WaitForX(static_cast<int>(next - now))) EndHack();
  }
}
