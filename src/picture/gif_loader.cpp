// The GIF face loader: the file parsed, then the 8-bit pictures of its frames built on the logical
// screen. Depends on the GIF parser and the packed DIB format.
#include "picture/gif_loader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The frame's palette as the colour table; a frame with neither a local nor a global palette gets
// a 256-entry grey ramp.
static void WriteColorTable(PackedDib* picture, const GifPalette* palette, int n) {
  DibColor* colors = DibColors(picture);
  if (palette == nullptr) {
    FillGreyRamp(colors, n);
    return;
  }
  for (int i = 0; i < n; ++i) {
    const GifColor& color = palette->entries[i];
    colors[i] = DibColor{color.blue, color.green, color.red, 0};
  }
}

// Fills every screen row (padding included) with the background index and places the frame's
// rows on it, clipped to the screen; each byte of the picture is written once.
static void PlaceFrame(const GifContents* contents, const GifFrame* frame, const PackedDib* before,
                       uint8_t* bits, int64_t stride) {
  const uint8_t background = contents->background;
  const int64_t screenHeight = contents->screenHeight;
  const int64_t left = frame->left, top = frame->top;
  int64_t columns = left < contents->screenWidth ? contents->screenWidth - left : 0;
  if (columns > frame->width) columns = frame->width;
  const int transparent = before != nullptr ? frame->transparent : -1;
  for (int64_t y = 0; y < screenHeight; ++y) {
    int64_t offset = (screenHeight - 1 - y) * stride;
    uint8_t* row = bits + offset;
    if (y < top || y >= top + frame->height || columns == 0) {
      std::memset(row, background, static_cast<size_t>(stride));
      continue;
    }
    std::memset(row, background, static_cast<size_t>(left));
    std::memcpy(row + left, frame->rows[y - top], static_cast<size_t>(columns));
    std::memset(row + left + columns, background, static_cast<size_t>(stride - left - columns));
    if (transparent < 0) continue;
    const uint8_t* under = DibBits(before) + offset;
    for (int64_t x = left; x < left + columns; ++x) {
      if (row[x] == transparent) row[x] = under[x];
    }
  }
}

PackedDib* BuildFramePicture(const GifContents* contents, const GifFrame* frame, const PackedDib* before) {
  const GifPalette* palette = frame->localPalette != nullptr ? frame->localPalette : contents->globalPalette;
  int n = palette != nullptr ? palette->count : 256;
  PackedDib* picture = NewPackedDib(contents->screenWidth, contents->screenHeight, 8, n, GifLargestBlock);
  if (picture == nullptr) return nullptr;
  WriteColorTable(picture, palette, n);
  PlaceFrame(contents, frame, before, DibBits(picture), DibRowStride64(contents->screenWidth, 8));
  return picture;
}

void ReleaseGifFrameSet(GifFrameSet* set) {
  for (int32_t i = 0; i < set->count; ++i) std::free(set->pictures[i]);
  std::free(set->pictures);
  set->pictures = nullptr;
  set->count = 0;
}

// The parsed file, or null when it cannot be opened or has no GIF signature; closed in any case.
static GifContents* ParseGifPath(const char* path, ProblemHook hook, void* hookValue) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  // A larger buffer than stdio's default: the sub-blocks are read 255 bytes at a time.
  std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
  GifContents* contents = ParseGifFile(file, hook, hookValue);
  std::fclose(file);
  return contents;
}

// Every frame's picture from the parsed contents (null: the empty set); the contents are released.
static GifFrameSet FramePictures(GifContents* contents) {
  GifFrameSet set = {nullptr, 0};
  if (contents == nullptr) return set;
  int32_t count = contents->frameCount;
  set.pictures = count > 0 ? static_cast<PackedDib**>(GifAllocateZeroed(count * static_cast<int64_t>(sizeof(PackedDib*))))
                           : nullptr;
  if (set.pictures == nullptr) {
    ReleaseGif(contents);
    return set;
  }
  for (int32_t i = 0; i < count; ++i) {
    set.pictures[i] = BuildFramePicture(contents, contents->frames[i], i > 0 ? set.pictures[i - 1] : nullptr);
    set.count = i + 1;
    if (set.pictures[i] == nullptr) {
      ReleaseGifFrameSet(&set);
      break;
    }
  }
  ReleaseGif(contents);
  return set;
}

// The first frame's picture from the parsed contents (null: null); the contents are released. Only
// that picture is built: later pictures would be released unused, and their memory (or an
// allocation failure) must not decide whether the face loads.
static PackedDib* FirstFramePicture(GifContents* contents) {
  if (contents == nullptr) return nullptr;
  PackedDib* picture = contents->frameCount > 0 ? BuildFramePicture(contents, contents->frames[0], nullptr) : nullptr;
  ReleaseGif(contents);
  return picture;
}

GifFrameSet LoadGifFramesReporting(const char* path, ProblemHook hook, void* hookValue) {
  return FramePictures(ParseGifPath(path, hook, hookValue));
}

GifFrameSet LoadGifFrames(const char* path) { return LoadGifFramesReporting(path, nullptr, nullptr); }

GifFrameSet ReadGifFrames(FILE* file) { return FramePictures(ParseGifFile(file, nullptr, nullptr)); }

PackedDib* LoadGifReporting(const char* path, ProblemHook hook, void* hookValue) {
  return FirstFramePicture(ParseGifPath(path, hook, hookValue));
}

PackedDib* LoadGif(const char* path) { return LoadGifReporting(path, nullptr, nullptr); }

PackedDib* ReadGif(FILE* file) { return FirstFramePicture(ParseGifFile(file, nullptr, nullptr)); }
