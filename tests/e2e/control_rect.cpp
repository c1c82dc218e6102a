// Prints the screen rectangle of a window, or of one of its controls, found by the window's caption:
//   control_rect <caption> [control id | control text]   ->   "<left> <top> <right> <bottom>", exit 0;
// exit 1 if absent. A text is looked for among all the window's descendants (a wizard's page is a
// dialog inside the window). End-to-end tests use it to click controls whose pixel positions depend on
// the dialog font.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* WantedText;
static HWND Found;

static BOOL CALLBACK MatchText(HWND child, LPARAM) {
  char text[256];
  if (GetWindowTextA(child, text, sizeof text) > 0 && std::strcmp(text, WantedText) == 0) {
    Found = child;
    return FALSE;
  }
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = FindWindowA(nullptr, argv[1]);
  if (window != nullptr && argc >= 3) {
    if (argv[2][0] >= '0' && argv[2][0] <= '9') {
      window = GetDlgItem(window, std::atoi(argv[2]));
    } else {
      WantedText = argv[2];
      EnumChildWindows(window, MatchText, 0);
      window = Found;
    }
  }
  if (window == nullptr) return 1;
  RECT rect;
  if (!GetWindowRect(window, &rect)) return 1;
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
  return 0;
}
