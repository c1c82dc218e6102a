// The scroll bars' steps: arrows by 5, pages by 10, drags to the nearest multiple of 5. Portable:
// no Windows headers.
#include "settings/scroll_steps.h"

#include "render/round_to_int.h"
#include "settings/derived_settings.h"

int NextScrollPosition(int code, unsigned thumb, int position) {
  switch (code) {
    case kScrollLineLeft:
      return position - 5 < 0 ? 0 : position - 5;
    case kScrollLineRight:
      return position + 5 > 100 ? 100 : position + 5;
    case kScrollPageLeft:
      return position - 10 < 0 ? 0 : position - 10;
    case kScrollPageRight:
      return position + 10 > 100 ? 100 : position + 10;
    case kScrollThumbTrack:
      return ClampSetting(RoundToInt((thumb & 0xffffu) / 5.0) * 5);
    default:
      return kScrollNoMove;
  }
}
