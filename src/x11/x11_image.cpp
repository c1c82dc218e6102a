// The MIT-SHM image with its XPutImage fallback and its teardown, all in one place. Reads
// BackSurface; knows nothing of the animation or the event loop.
#include "x11/x11_image.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "render/surface.h"
#include "shell/saver_rules.h"
#include "x11/x11_window.h"

int HackImageShared = 0;

namespace {

XImage* Image = nullptr;
XShmSegmentInfo Segment;

int AttachFailed = 0;
int NoteAttachError(Display*, XErrorEvent*) {
  AttachFailed = 1;
  return 0;
}

// The shared image, or null when the server has no MIT-SHM or refuses the segment.
XImage* CreateSharedImage(int width, int height) {
  if (!XShmQueryExtension(HackDisplay)) return nullptr;
  XImage* image = XShmCreateImage(HackDisplay, HackVisual, HackDepth, ZPixmap, nullptr, &Segment, width, height);
  if (image == nullptr) return nullptr;
  uint64_t bytes = static_cast<uint64_t>(image->bytes_per_line) * static_cast<uint64_t>(height);
  Segment.shmid = bytes <= SIZE_MAX ? shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600) : -1;
  void* address = Segment.shmid >= 0 ? shmat(Segment.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
  if (address == reinterpret_cast<void*>(-1)) {
    if (Segment.shmid >= 0) shmctl(Segment.shmid, IPC_RMID, nullptr);
    XDestroyImage(image);  // its data is still null
    return nullptr;
  }
  Segment.shmaddr = image->data = static_cast<char*>(address);
  Segment.readOnly = False;
  AttachFailed = 0;
  int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler(NoteAttachError);
  Status attached = XShmAttach(HackDisplay, &Segment);
  XSync(HackDisplay, False);  // the server has answered: attached, or refused with BadAccess
  XSetErrorHandler(previous);
  shmctl(Segment.shmid, IPC_RMID, nullptr);  // freed once both sides detach, even if killed
  if (attached == 0 || AttachFailed) {
    shmdt(address);
    image->data = nullptr;
    XDestroyImage(image);
    return nullptr;
  }
  return image;
}

XImage* CreatePlainImage(int width, int height) {
  XImage* image = XCreateImage(HackDisplay, HackVisual, HackDepth, ZPixmap, 0, nullptr, width, height, 32, 0);
  if (image == nullptr) return nullptr;
  uint64_t bytes = static_cast<uint64_t>(image->bytes_per_line) * static_cast<uint64_t>(height);
  image->data = bytes <= SIZE_MAX ? static_cast<char*>(std::calloc(1, bytes)) : nullptr;
  if (image->data == nullptr) {
    XDestroyImage(image);
    return nullptr;
  }
  return image;
}

// How an 8-bit channel lands in a pixel of the visual: the mask's lowest bit and its width.
struct Channel {
  int shift;
  int bits;
};
Channel ChannelOf(unsigned long mask) {
  Channel channel{0, 0};
  if (mask == 0) return channel;
  while ((mask & 1) == 0) {
    mask >>= 1;
    ++channel.shift;
  }
  while ((mask & 1) != 0) {
    mask >>= 1;
    ++channel.bits;
  }
  return channel;
}
unsigned long Place(unsigned value, Channel channel) {
  unsigned long scaled = channel.bits >= 8 ? static_cast<unsigned long>(value) << (channel.bits - 8)
                                           : value >> (8 - channel.bits);
  return scaled << channel.shift;
}

// Rect clipped to the view; false when nothing is left.
bool ClipToView(Rect* rect) {
  if (rect->left < 0) rect->left = 0;
  if (rect->top < 0) rect->top = 0;
  if (rect->right > Image->width) rect->right = Image->width;
  if (rect->bottom > Image->height) rect->bottom = Image->height;
  return rect->left < rect->right && rect->top < rect->bottom;
}

// Blue, green, red surface pixels into image pixels: whole words where the image has 32-bit pixels in
// this machine's byte order (every TrueColor server seen here), XPutPixel otherwise.
void Convert(const Rect& rect) {
  Channel red = ChannelOf(HackVisual->red_mask), green = ChannelOf(HackVisual->green_mask),
          blue = ChannelOf(HackVisual->blue_mask);
  const uint16_t probe = 1;
  bool hostOrder = (Image->byte_order == LSBFirst) == (*reinterpret_cast<const uint8_t*>(&probe) == 1);
  bool words = Image->bits_per_pixel == 32 && hostOrder;
  // The usual 24-bit TrueColor layout (0x00RRGGBB words) takes the bytes as they are, with no
  // channel placed one by one.
  bool plain = words && red.shift == 16 && green.shift == 8 && blue.shift == 0 && red.bits == 8 && green.bits == 8 &&
               blue.bits == 8;
  for (int y = rect.top; y < rect.bottom; ++y) {
    const uint8_t* from = SurfaceRow(BackSurface, y) + 3 * rect.left;
    uint32_t* to = reinterpret_cast<uint32_t*>(Image->data + static_cast<ptrdiff_t>(y) * Image->bytes_per_line) +
                   rect.left;
    if (plain) {
      for (int x = rect.left; x < rect.right; ++x, from += 3) {
        *to++ = static_cast<uint32_t>(from[0]) | static_cast<uint32_t>(from[1]) << 8 |
                static_cast<uint32_t>(from[2]) << 16;
      }
      continue;
    }
    for (int x = rect.left; x < rect.right; ++x, from += 3) {
      unsigned long pixel = Place(from[2], red) | Place(from[1], green) | Place(from[0], blue);
      if (words) {
        *to++ = static_cast<uint32_t>(pixel);
      } else {
        XPutPixel(Image, x, y, pixel);
      }
    }
  }
}

}  // namespace

bool CreateHackImage() {
  Image = CreateSharedImage(ViewWidth, ViewHeight);
  HackImageShared = Image != nullptr;
  if (Image == nullptr) Image = CreatePlainImage(ViewWidth, ViewHeight);
  return Image != nullptr;
}

void RepaintWindow(Rect rect) {
  if (Image == nullptr || !ClipToView(&rect)) return;
  unsigned width = static_cast<unsigned>(rect.right - rect.left);
  unsigned height = static_cast<unsigned>(rect.bottom - rect.top);
  if (HackImageShared) {
    XShmPutImage(HackDisplay, HackWindow, HackGc, Image, rect.left, rect.top, rect.left, rect.top, width, height,
                 False);
    XSync(HackDisplay, False);  // the server has read the segment before the next frame writes it
  } else {
    XPutImage(HackDisplay, HackWindow, HackGc, Image, rect.left, rect.top, rect.left, rect.top, width, height);
    XFlush(HackDisplay);
  }
}

void CopyToWindow(Rect rect) {
  if (Image == nullptr || !ClipToView(&rect)) return;
  Convert(rect);
  RepaintWindow(rect);
}

void DestroyHackImage() {
  if (Image == nullptr) return;
  if (HackImageShared) {
    XShmDetach(HackDisplay, &Segment);
    XSync(HackDisplay, False);
    shmdt(Segment.shmaddr);
    Image->data = nullptr;
  }
  XDestroyImage(Image);  // frees a plain image's pixels with it
  Image = nullptr;
  HackImageShared = 0;
}
