// Building and trimming a picture's levels: an exact area average down to the cap, separable (a pass
// along each row, then one down the columns) in integers, then 2 x 2 averages on packed words. Runs on
// the loading threads, so it reads and writes nothing but its arguments.
#include "render/picture_levels.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "render/painter.h"

namespace {

// Which source pixels one output pixel covers along an axis, and how much of the first and last
// (in units where a source pixel is `to` long and an output pixel `from`).
struct Cover {
  int32_t first;
  int32_t last;
  uint32_t firstWeight;
  uint32_t lastWeight;
};

// The covers of `to` output pixels over `from` source pixels (to <= from).
void MakeCovers(int32_t from, int32_t to, Cover* covers) {
  for (int32_t i = 0; i < to; ++i) {
    int64_t start = int64_t{i} * from, end = int64_t{i + 1} * from;
    Cover& c = covers[i];
    c.first = static_cast<int32_t>(start / to);
    c.last = static_cast<int32_t>((end - 1) / to);
    if (c.first == c.last) {
      c.firstWeight = c.lastWeight = static_cast<uint32_t>(end - start);
    } else {
      c.firstWeight = static_cast<uint32_t>((int64_t{c.first} + 1) * to - start);
      c.lastWeight = static_cast<uint32_t>(end - int64_t{c.last} * to);
    }
  }
}

// Row y (from the top) of picture as blue, green, red bytes, step bytes a pixel: the picture's own
// row for 24 and 32 bits, else its colours written into words (as bytes, blue first).
const uint8_t* ColourRow(const PackedDib* picture, const uint32_t* palette, int32_t y, uint32_t* words, int* step) {
  int bits = picture->biBitCount;
  int64_t stride = DibRowStride64(picture->biWidth, bits);
  const uint8_t* row = DibBits(picture) + (picture->biHeight - 1 - int64_t{y}) * stride;
  if (bits == 24 || bits == 32) {
    *step = bits / 8;
    return row;
  }
  int32_t width = picture->biWidth;
  if (bits == 8) {
    for (int32_t x = 0; x < width; ++x) words[x] = palette[row[x]];
  } else {
    for (int32_t x = 0; x < width; ++x) words[x] = PackedIndexColour(row, x, bits, palette);
  }
  for (int32_t x = 0; x < width; ++x) {  // the words as bytes, blue first, on any byte order
    uint8_t* at = reinterpret_cast<uint8_t*>(words + x);
    uint32_t c = words[x];
    at[0] = static_cast<uint8_t>(c);
    at[1] = static_cast<uint8_t>(c >> 8);
    at[2] = static_cast<uint8_t>(c >> 16);
  }
  *step = 4;
  return reinterpret_cast<const uint8_t*>(words);
}

// Adds the weighted channels of the pixels a cover spans to sums[0..2] (blue, green, red).
template <int Step>
inline void AddCover(const uint8_t* row, const Cover& c, uint32_t middleWeight, uint32_t* sums) {
  const uint8_t* first = row + int64_t{c.first} * Step;
  sums[0] += first[0] * c.firstWeight;
  sums[1] += first[1] * c.firstWeight;
  sums[2] += first[2] * c.firstWeight;
  if (c.last == c.first) return;
  uint32_t b = 0, g = 0, r = 0;  // whole pixels, weighed once
  const uint8_t* end = row + int64_t{c.last} * Step;
  for (const uint8_t* at = first + Step; at < end; at += Step) {
    b += at[0];
    g += at[1];
    r += at[2];
  }
  sums[0] += b * middleWeight + end[0] * c.lastWeight;
  sums[1] += g * middleWeight + end[1] * c.lastWeight;
  sums[2] += r * middleWeight + end[2] * c.lastWeight;
}

template <int Step>
void SumRow(const uint8_t* row, const Cover* across, int32_t width, uint32_t* rowSums) {
  for (int32_t i = 0; i < width; ++i) AddCover<Step>(row, across[i], static_cast<uint32_t>(width), rowSums + 3 * i);
}

// Level 0: each output pixel the exact area average of the picture pixels under it. A row's sums
// are at most 255 * width (32 bits); a column's at most 255 * width * height (64 bits).
bool ReduceToTop(const PackedDib* picture, int32_t width, int32_t height, uint32_t* out) {
  const int32_t sourceWidth = picture->biWidth, sourceHeight = picture->biHeight;
  uint32_t palette[256];
  if (picture->biBitCount <= 8) LoadPalette(picture, palette);
  uint32_t* row = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * static_cast<size_t>(sourceWidth)));
  uint32_t* rowSums = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * 3 * static_cast<size_t>(width)));
  uint64_t* sums = static_cast<uint64_t*>(std::malloc(sizeof(uint64_t) * 3 * static_cast<size_t>(width)));
  Cover* across = static_cast<Cover*>(std::malloc(sizeof(Cover) * static_cast<size_t>(width)));
  Cover* down = static_cast<Cover*>(std::malloc(sizeof(Cover) * static_cast<size_t>(height)));
  bool made = row != nullptr && rowSums != nullptr && sums != nullptr && across != nullptr && down != nullptr;
  if (made) {
    MakeCovers(sourceWidth, width, across);
    MakeCovers(sourceHeight, height, down);
    const double scale = 1.0 / (static_cast<double>(sourceWidth) * static_cast<double>(sourceHeight));
    const uint64_t half = (static_cast<uint64_t>(sourceWidth) * static_cast<uint64_t>(sourceHeight)) / 2;
    int32_t summedRow = -1;  // the source row rowSums holds: neighbouring output rows share one
    for (int32_t k = 0; k < height; ++k) {
      std::memset(sums, 0, sizeof(uint64_t) * 3 * static_cast<size_t>(width));
      const Cover& c = down[k];
      for (int32_t y = c.first; y <= c.last; ++y) {
        if (y != summedRow) {
          int step;
          const uint8_t* bytes = ColourRow(picture, palette, y, row, &step);
          std::memset(rowSums, 0, sizeof(uint32_t) * 3 * static_cast<size_t>(width));
          if (step == 3) {
            SumRow<3>(bytes, across, width, rowSums);
          } else {
            SumRow<4>(bytes, across, width, rowSums);
          }
          summedRow = y;
        }
        uint64_t weight = y == c.first ? c.firstWeight : y == c.last ? c.lastWeight : static_cast<uint32_t>(height);
        for (int32_t i = 0; i < 3 * width; ++i) sums[i] += rowSums[i] * weight;
      }
      uint32_t* outRow = out + int64_t{k} * width;
      for (int32_t i = 0; i < width; ++i) {
        uint32_t channel[3];
        for (int ch = 0; ch < 3; ++ch) channel[ch] = static_cast<uint32_t>(static_cast<double>(sums[3 * i + ch] + half) * scale);
        outRow[i] = channel[0] | (channel[1] << 8) | (channel[2] << 16);
      }
    }
  }
  std::free(row);
  std::free(rowSums);
  std::free(sums);
  std::free(across);
  std::free(down);
  return made;
}

// The picture's own pixels as colours, when it needs no reduction.
void CopyToTop(const PackedDib* picture, uint32_t* out) {
  uint32_t palette[256];
  if (picture->biBitCount <= 8) LoadPalette(picture, palette);
  for (int32_t y = 0; y < picture->biHeight; ++y) {
    int step;
    uint32_t* words = out + int64_t{y} * picture->biWidth;
    const uint8_t* bytes = ColourRow(picture, palette, y, words, &step);
    for (int32_t x = 0; x < picture->biWidth; ++x, bytes += step) {
      words[x] = bytes[0] | (bytes[1] << 8) | (uint32_t{bytes[2]} << 16);
    }
  }
}

// The average of two or four packed pixels, rounded: blue and red side by side in one word, green
// alone, each lane wide enough for the sum.
inline uint32_t Average(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  uint32_t rb = (a & 0xFF00FF) + (b & 0xFF00FF) + (c & 0xFF00FF) + (d & 0xFF00FF);
  uint32_t g = (a & 0xFF00) + (b & 0xFF00) + (c & 0xFF00) + (d & 0xFF00);
  return (((rb + 0x020002) >> 2) & 0xFF00FF) | (((g + 0x0200) >> 2) & 0xFF00);
}
inline uint32_t Average(uint32_t a, uint32_t b) {
  uint32_t rb = (a & 0xFF00FF) + (b & 0xFF00FF), g = (a & 0xFF00) + (b & 0xFF00);
  return (((rb + 0x010001) >> 1) & 0xFF00FF) | (((g + 0x0100) >> 1) & 0xFF00);
}

// The next level: each pixel averages the 2 x 2 above it; on an odd side the last pixel averages
// the one row or column that is left.
void Halve(const PictureLevel& from, uint32_t* out, int32_t width, int32_t height) {
  for (int32_t k = 0; k < height; ++k) {
    const uint32_t* top = from.pixels + int64_t{2 * k} * from.width;
    const uint32_t* bottom = 2 * k + 1 < from.height ? top + from.width : nullptr;
    uint32_t* row = out + int64_t{k} * width;
    for (int32_t i = 0; i < width; ++i) {
      int32_t x = 2 * i;
      bool pair = x + 1 < from.width;
      if (bottom != nullptr) {
        row[i] = pair ? Average(top[x], top[x + 1], bottom[x], bottom[x + 1]) : Average(top[x], bottom[x]);
      } else {
        row[i] = pair ? Average(top[x], top[x + 1]) : top[x];
      }
    }
  }
}

int32_t HalfSide(int32_t side) { return (side + 1) / 2; }

// Lays out count levels from width x height down in block; returns the words they take.
int64_t LayOut(int32_t width, int32_t height, uint32_t* block, PictureLevels* levels) {
  int64_t words = 0;
  levels->count = 0;
  for (;;) {
    levels->levels[levels->count++] = PictureLevel{block != nullptr ? block + words : nullptr, width, height};
    words += int64_t{width} * height;
    if ((width == 1 && height == 1) || levels->count == kMaxLevels) return words;
    width = HalfSide(width);
    height = HalfSide(height);
  }
}

}  // namespace

bool BuildPictureLevels(const PackedDib* picture, int cap, PictureLevels* levels) {
  *levels = PictureLevels{};
  int32_t width = picture->biWidth < cap ? picture->biWidth : cap;
  int32_t height = picture->biHeight < cap ? picture->biHeight : cap;
  PictureLevels layout;
  int64_t words = LayOut(width, height, nullptr, &layout);
  if (words > static_cast<int64_t>(SIZE_MAX / sizeof(uint32_t) / 2)) return false;  // a 32-bit process's limit
  uint32_t* block = static_cast<uint32_t*>(std::malloc(static_cast<size_t>(words) * sizeof(uint32_t)));
  if (block == nullptr) return false;
  LayOut(width, height, block, levels);
  levels->block = block;
  levels->topWidth = width;
  levels->topHeight = height;
  uint32_t* top = block;
  if (width == picture->biWidth && height == picture->biHeight) {
    CopyToTop(picture, top);
  } else if (!ReduceToTop(picture, width, height, top)) {
    FreePictureLevels(levels);
    return false;
  }
  for (int l = 1; l < levels->count; ++l) {
    const PictureLevel& next = levels->levels[l];
    Halve(levels->levels[l - 1], const_cast<uint32_t*>(next.pixels), next.width, next.height);
  }
  return true;
}

bool KeepLevelsForHalfEdge(int halfEdge, PictureLevels* levels) {
  const int64_t need = 2 * int64_t{halfEdge} + 2;
  int drop = 0;
  while (drop + 1 < levels->count) {
    const PictureLevel& next = levels->levels[drop + 1];
    if ((next.width > next.height ? next.width : next.height) < need) break;
    ++drop;
  }
  if (drop == 0) return true;
  int64_t words = 0;
  for (int l = drop; l < levels->count; ++l) words += int64_t{levels->levels[l].width} * levels->levels[l].height;
  uint32_t* block = static_cast<uint32_t*>(std::malloc(static_cast<size_t>(words) * sizeof(uint32_t)));
  if (block == nullptr) return false;
  PictureLevels kept = *levels;
  kept.block = block;
  kept.count = levels->count - drop;
  kept.dropped = levels->dropped + drop;
  int64_t at = 0;
  for (int l = 0; l < kept.count; ++l) {
    const PictureLevel& from = levels->levels[drop + l];
    int64_t size = int64_t{from.width} * from.height;
    std::memcpy(block + at, from.pixels, static_cast<size_t>(size) * sizeof(uint32_t));
    kept.levels[l] = PictureLevel{block + at, from.width, from.height};
    at += size;
  }
  for (int l = kept.count; l < kMaxLevels; ++l) kept.levels[l] = PictureLevel{nullptr, 0, 0};
  std::free(levels->block);
  *levels = kept;
  return true;
}

void FreePictureLevels(PictureLevels* levels) {
  std::free(levels->block);
  *levels = PictureLevels{};
}
