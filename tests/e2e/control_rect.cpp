// Prints the screen rectangle of a window, or of one of its controls, found by the window's caption:
//   control_rect <caption> [control id]   ->   "<left> <top> <right> <bottom>", exit 0; exit 1 if absent
// End-to-end tests use it to click controls whose pixel positions depend on the dialog font.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = FindWindowA(nullptr, argv[1]);
  if (window != nullptr && argc >= 3) window = GetDlgItem(window, std::atoi(argv[2]));
  if (window == nullptr) return 1;
  RECT rect;
  if (!GetWindowRect(window, &rect)) return 1;
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
  return 0;
}
