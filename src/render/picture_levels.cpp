// Building the levels: the top level by whole-block means on the loading threads, then the face
// levels by separable area averages in integers, so every build makes the same pixels. Reads and
// writes nothing but its arguments.
#include "render/picture_levels.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/painter.h"

namespace {

// A source row as blue, green, red bytes, step bytes a pixel: the row itself for 24 and 32 bits,
// else its colours written into words (as bytes, blue first).
const uint8_t* ColourRow(const TopLevelStream& stream, const uint8_t* row, int* step) {
  if (stream.bits == 24 || stream.bits == 32) {
    *step = stream.bits / 8;
    return row;
  }
  for (int32_t x = 0; x < stream.sourceWidth; ++x) {
    uint32_t c = stream.bits == 8 ? stream.palette[row[x]] : PackedIndexColour(row, x, stream.bits, stream.palette);
    uint8_t* at = reinterpret_cast<uint8_t*>(stream.words + x);  // as bytes, blue first, on any byte order
    at[0] = static_cast<uint8_t>(c);
    at[1] = static_cast<uint8_t>(c >> 8);
    at[2] = static_cast<uint8_t>(c >> 16);
  }
  *step = 4;
  return reinterpret_cast<const uint8_t*>(stream.words);
}

// Source rows added into 16-bit column sums at a time: 257 rows of 255 fit.
constexpr int32_t kRowsPerSum = 257;

// Adds count bytes into column's 16-bit sums (or sets them, for a first row).
void AddBytes(const uint8_t* bytes, int64_t count, bool first, uint16_t* column) {
  int64_t n = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; n + 16 <= count; n += 16) {
    __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + n));
    __m128i* at = reinterpret_cast<__m128i*>(column + n);
    __m128i low = _mm_unpacklo_epi8(in, zero), high = _mm_unpackhi_epi8(in, zero);
    if (!first) {
      low = _mm_add_epi16(low, _mm_loadu_si128(at));
      high = _mm_add_epi16(high, _mm_loadu_si128(at + 1));
    }
    _mm_storeu_si128(at, low);
    _mm_storeu_si128(at + 1, high);
  }
#endif
  for (; n < count; ++n) column[n] = static_cast<uint16_t>(first ? bytes[n] : column[n] + bytes[n]);
}

// Rounded division of a sum of n bytes by n without a division per pixel: for n up to 2^16 the
// dividend (with the half added) is below 2^24, and (x * ceil(2^40 / n)) >> 40 is then exactly
// x / n rounded down. Larger blocks (only a picture far taller or wider than any face) divide.
struct Reciprocal {
  uint64_t n;
  uint64_t factor;  // 0: divide
};

Reciprocal MakeReciprocal(uint64_t n) {
  return Reciprocal{n, n <= 65536 ? ((uint64_t{1} << 40) + n - 1) / n : 0};
}

inline uint32_t Divide(uint32_t sum, const Reciprocal& r) {
  uint64_t x = uint64_t{sum} + r.n / 2;
  return static_cast<uint32_t>(r.factor != 0 ? (x * r.factor) >> 40 : x / r.n);
}

// Each block's columns of the rows added so far into its sums.
void AddColumnsToSums(const TopLevelStream& stream, int step) {
  for (int32_t i = 0, x = 0; i < stream.width; ++i) {
    int32_t end = x + stream.kx < stream.sourceWidth ? x + stream.kx : stream.sourceWidth;
    for (; x < end; ++x) {
      const uint16_t* at = stream.column + int64_t{x} * step;
      stream.sums[3 * i] += at[0];
      stream.sums[3 * i + 1] += at[1];
      stream.sums[3 * i + 2] += at[2];
    }
  }
}

// The rounded mean of each block of the band of rows y0 .. y1 - 1 into top-level row `out`, by a
// multiplication: every block but the last of the row holds the same number of pixels, and a sum is
// at most 255 of them.
void WriteBandMeans(const TopLevelStream& stream, int32_t y0, int32_t y1, uint32_t* out) {
  const uint64_t rows = static_cast<uint64_t>(y1 - y0);
  const uint64_t whole = static_cast<uint64_t>(stream.kx) * rows;
  const uint64_t last = static_cast<uint64_t>(stream.sourceWidth - (stream.width - 1) * stream.kx) * rows;
  const Reciprocal wholeMean = MakeReciprocal(whole), lastMean = MakeReciprocal(last);
  for (int32_t i = 0; i < stream.width; ++i) {
    const Reciprocal& mean = i + 1 < stream.width ? wholeMean : lastMean;
    uint32_t c[3];
    for (int ch = 0; ch < 3; ++ch) c[ch] = Divide(stream.sums[3 * i + ch], mean);
    out[i] = c[0] | (c[1] << 8) | (c[2] << 16);
  }
}

// One axis of a resampling: for each output pixel the first source pixel and the weights of the
// ones it takes, summing to 65536.
struct Axis {
  std::vector<int32_t> first;
  std::vector<int32_t> start;  // into weights; start[i + 1] - start[i] taps
  std::vector<uint32_t> weights;
};

// From `from` pixels to `to` (no more): each output pixel the exact share of every source pixel it
// covers, the weights telescoped so that they sum to 65536 exactly.
void MakeAxis(int32_t from, int32_t to, Axis* axis) {
  axis->first.assign(static_cast<size_t>(to), 0);
  axis->start.assign(static_cast<size_t>(to) + 1, 0);
  axis->weights.clear();
  for (int32_t i = 0; i < to; ++i) {
    axis->start[static_cast<size_t>(i)] = static_cast<int32_t>(axis->weights.size());
    // Output i covers [i * from, (i + 1) * from) in units where a source pixel is `to` long.
    int64_t lo = int64_t{i} * from, hi = lo + from;
    int32_t j = static_cast<int32_t>(lo / to), last = static_cast<int32_t>((hi - 1) / to);
    axis->first[static_cast<size_t>(i)] = j;
    uint32_t before = 0;
    for (; j <= last; ++j) {
      int64_t end = (int64_t{j} + 1) * to < hi ? (int64_t{j} + 1) * to : hi;
      uint32_t upTo = static_cast<uint32_t>(((end - lo) << 16) / from);
      axis->weights.push_back(upTo - before);
      before = upTo;
    }
  }
  axis->start[static_cast<size_t>(to)] = static_cast<int32_t>(axis->weights.size());
}

inline uint32_t Pack(uint32_t b, uint32_t g, uint32_t r) {
  return ((b + 32768) >> 16) | (((g + 32768) >> 16) << 8) | (((r + 32768) >> 16) << 16);
}

// Each row of rows: width words in, axis-many out.
void ResampleRows(const uint32_t* in, int32_t inWidth, int32_t rows, const Axis& axis, uint32_t* out) {
  const int32_t outWidth = static_cast<int32_t>(axis.first.size());
  for (int32_t y = 0; y < rows; ++y) {
    const uint32_t* row = in + int64_t{y} * inWidth;
    uint32_t* to = out + int64_t{y} * outWidth;
    for (int32_t i = 0; i < outWidth; ++i) {
      const uint32_t* from = row + axis.first[static_cast<size_t>(i)];
      uint32_t b = 0, g = 0, r = 0;
      for (int32_t t = axis.start[static_cast<size_t>(i)], n = 0; t < axis.start[static_cast<size_t>(i) + 1]; ++t, ++n) {
        uint32_t w = axis.weights[static_cast<size_t>(t)], c = from[n];
        b += (c & 0xFF) * w;
        g += ((c >> 8) & 0xFF) * w;
        r += ((c >> 16) & 0xFF) * w;
      }
      to[i] = Pack(b, g, r);
    }
  }
}

// Rows of width words: source row y at in + y * inStep, output row k at out + k * outStep (a
// negative step walks a bottom-up picture from its top row).
void ResampleColumns(const uint32_t* in, int64_t inStep, int32_t width, const Axis& axis, uint32_t* out,
                     int64_t outStep, uint32_t* sums) {
  const int32_t outHeight = static_cast<int32_t>(axis.first.size());
  for (int32_t k = 0; k < outHeight; ++k) {
    std::memset(sums, 0, sizeof(uint32_t) * 3 * static_cast<size_t>(width));
    int32_t y = axis.first[static_cast<size_t>(k)];
    for (int32_t t = axis.start[static_cast<size_t>(k)]; t < axis.start[static_cast<size_t>(k) + 1]; ++t, ++y) {
      const uint32_t* row = in + y * inStep;
      uint32_t w = axis.weights[static_cast<size_t>(t)];
      for (int32_t x = 0; x < width; ++x) {
        uint32_t c = row[x];
        sums[3 * x] += (c & 0xFF) * w;
        sums[3 * x + 1] += ((c >> 8) & 0xFF) * w;
        sums[3 * x + 2] += ((c >> 16) & 0xFF) * w;
      }
    }
    uint32_t* to = out + k * outStep;
    for (int32_t x = 0; x < width; ++x) to[x] = Pack(sums[3 * x], sums[3 * x + 1], sums[3 * x + 2]);
  }
}

// The integer square root of value, rounded down.
int64_t SquareRoot(int64_t value) {
  int64_t root = static_cast<int64_t>(std::sqrt(static_cast<double>(value)));
  while (root * root > value) --root;
  while ((root + 1) * (root + 1) <= value) ++root;
  return root;
}

// side, then side / sqrt(2), side / 2 ... down to 1, each rounded to the nearest whole pixel and
// distinct: two halving chains, from side and from side / sqrt(2), merged.
int Steps(int32_t side, int32_t* out) {
  int32_t even = side, odd = static_cast<int32_t>(SquareRoot(2 * int64_t{side} * side) / 2);
  int count = 0;
  for (;;) {
    int32_t next = even >= odd ? even : odd;
    if (next < 1) next = 1;
    if (count == 0 || next < out[count - 1]) out[count++] = next;
    if (next == 1 || count == kMaxLevelSteps) return count;
    if (even >= odd) {
      even = (even + 1) / 2;
    } else {
      odd = (odd + 1) / 2;
    }
  }
}

// A 32-bit picture's header is followed by its three colour masks.
constexpr int kLevelHeader = kDibHeaderSize + 12;

uint32_t* LevelBits(const PackedDib* level) { return reinterpret_cast<uint32_t*>(const_cast<uint8_t*>(DibBits(level))); }

// Frees the face levels made so far and the plan; the top level stays.
void ForgetFaceLevelsMade(PictureLevels* levels) {
  for (uint32_t*& rows : levels->across) {
    std::free(rows);
    rows = nullptr;
  }
  for (auto& column : levels->faces) {
    for (PackedDib*& level : column) {
      std::free(level);
      level = nullptr;
    }
  }
  levels->faceSide = 0;
  levels->widthCount = 0;
  levels->heightCount = 0;
}

}  // namespace

int FaceSideForHalfEdge(int halfEdge) {
  int64_t side = 2 * int64_t{halfEdge};
  return side < 1 ? 1 : side > kTopLevelSide ? kTopLevelSide : static_cast<int>(side);
}

bool StartTopLevel(const PackedDib* header, int least, TopLevelStream* stream) {
  *stream = TopLevelStream{};
  const int32_t sourceWidth = header->biWidth, sourceHeight = header->biHeight;
  const int32_t kx = sourceWidth > least ? sourceWidth / least : 1, ky = sourceHeight > least ? sourceHeight / least : 1;
  stream->sourceWidth = sourceWidth;
  stream->sourceHeight = sourceHeight;
  stream->bits = header->biBitCount;
  stream->kx = kx;
  stream->ky = ky;
  stream->width = (sourceWidth + kx - 1) / kx;
  stream->height = (sourceHeight + ky - 1) / ky;
  if (stream->bits <= 8) LoadPalette(header, stream->palette);
  stream->top = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * static_cast<size_t>(int64_t{stream->width} * stream->height)));
  stream->words = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * static_cast<size_t>(sourceWidth)));
  stream->column = static_cast<uint16_t*>(std::malloc(sizeof(uint16_t) * 4 * static_cast<size_t>(sourceWidth)));
  stream->sums = static_cast<uint32_t*>(std::calloc(3 * static_cast<size_t>(stream->width), sizeof(uint32_t)));
  if (stream->top == nullptr || stream->words == nullptr || stream->column == nullptr || stream->sums == nullptr) {
    FreeTopLevelStream(stream);
    return false;
  }
  return true;
}

void AddTopLevelRow(TopLevelStream* stream, const uint8_t* row) {
  const int32_t y = stream->y++;
  if (y >= stream->sourceHeight) return;
  // The band of ky rows this row belongs to, added into 16-bit column sums kRowsPerSum rows at a time.
  const int32_t band = y / stream->ky, y0 = band * stream->ky;
  const int32_t y1 = y0 + stream->ky < stream->sourceHeight ? y0 + stream->ky : stream->sourceHeight;
  int step = 4;
  const uint8_t* bytes = ColourRow(*stream, row, &step);
  AddBytes(bytes, int64_t{step} * stream->sourceWidth, (y - y0) % kRowsPerSum == 0, stream->column);
  if ((y - y0 + 1) % kRowsPerSum == 0 || y + 1 == y1) AddColumnsToSums(*stream, step);
  if (y + 1 == y1) {
    WriteBandMeans(*stream, y0, y1, stream->top + int64_t{band} * stream->width);
    std::memset(stream->sums, 0, sizeof(uint32_t) * 3 * static_cast<size_t>(stream->width));
  }
}

void FinishTopLevel(TopLevelStream* stream, PictureLevels* levels) {
  *levels = PictureLevels{};
  levels->top = stream->top;
  levels->topWidth = stream->width;
  levels->topHeight = stream->height;
  stream->top = nullptr;
  FreeTopLevelStream(stream);
}

void FreeTopLevelStream(TopLevelStream* stream) {
  std::free(stream->top);
  std::free(stream->words);
  std::free(stream->column);
  std::free(stream->sums);
  stream->top = nullptr;
  stream->words = nullptr;
  stream->column = nullptr;
  stream->sums = nullptr;
}

bool BuildPictureLevels(const PackedDib* picture, int least, PictureLevels* levels) {
  *levels = PictureLevels{};
  TopLevelStream stream;
  if (!StartTopLevel(picture, least, &stream)) return false;
  const int64_t stride = DibRowStride64(picture->biWidth, picture->biBitCount);
  for (int32_t y = 0; y < picture->biHeight; ++y) {
    AddTopLevelRow(&stream, DibBits(picture) + (picture->biHeight - 1 - int64_t{y}) * stride);
  }
  FinishTopLevel(&stream, levels);
  return true;
}

void PlanFaceLevels(int faceSide, PictureLevels* levels) {
  ForgetFaceLevelsMade(levels);
  // A face larger than the top level is magnified from the top level's own pixels by the nearest
  // neighbour, as the transfer always did: levels larger than the picture cost the frames more in
  // memory traffic (a 256-pixel picture's level for a 962-pixel face is fourteen times its size)
  // than the smoothness they would add.
  auto largest = [faceSide](int32_t topSide) { return topSide < faceSide ? topSide : faceSide; };
  levels->faceSide = faceSide;
  levels->widthCount = Steps(largest(levels->topWidth), levels->widths);
  levels->heightCount = Steps(largest(levels->topHeight), levels->heights);
}

namespace {

// The top level resampled to width i, every top row: each width straight from the top level, so
// that a level is the same whichever were made before it.
const uint32_t* Across(PictureLevels* levels, int i) {
  if (levels->across[i] != nullptr) return levels->across[i];
  const int32_t width = levels->widths[i];
  uint32_t* rows = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * static_cast<size_t>(int64_t{width} * levels->topHeight)));
  if (rows == nullptr) return nullptr;
  Axis axis;
  MakeAxis(levels->topWidth, width, &axis);
  ResampleRows(levels->top, levels->topWidth, levels->topHeight, axis, rows);
  levels->across[i] = rows;
  return rows;
}

// Level (i, j): width i's rows resampled down to height j, as a bottom-up 32-bit picture.
const PackedDib* MakeLevel(PictureLevels* levels, int i, int j) {
  const uint32_t* rows = Across(levels, i);
  if (rows == nullptr) return nullptr;
  const int32_t width = levels->widths[i], height = levels->heights[j];
  const uint32_t size = static_cast<uint32_t>(4 * int64_t{width} * height);
  uint8_t* block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(kLevelHeader) + size));
  uint32_t* sums = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * 3 * static_cast<size_t>(width)));
  if (block == nullptr || sums == nullptr) {
    std::free(block);
    std::free(sums);
    return nullptr;
  }
  PackedDib* level = reinterpret_cast<PackedDib*>(block);
  *level = PackedDib{kDibHeaderSize, width, height, 1, 32, 0, size, 0, 0, 0, 0};
  const uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};  // red, green, blue, as a 32-bit picture's table
  std::memcpy(block + kDibHeaderSize, masks, sizeof masks);
  Axis axis;
  MakeAxis(levels->topHeight, height, &axis);
  ResampleColumns(rows, width, width, axis, LevelBits(level) + int64_t{height - 1} * width, -int64_t{width}, sums);
  std::free(sums);
  levels->faces[i][j] = level;
  return level;
}

}  // namespace

const PackedDib* FaceLevel(PictureLevels* levels, const ScreenPoint corners[3]) {
  double e1x = static_cast<double>(corners[1].x) - corners[0].x, e1y = static_cast<double>(corners[1].y) - corners[0].y;
  double e2x = static_cast<double>(corners[2].x) - corners[0].x, e2y = static_cast<double>(corners[2].y) - corners[0].y;
  double area = std::fabs(e1x * e2y - e1y * e2x);
  double left = std::sqrt(e2x * e2x + e2y * e2y), top = std::sqrt(e1x * e1x + e1y * e1y);
  double needWidth = left > 0 ? area / left : 0, needHeight = top > 0 ? area / top : 0;
  int i = 0, j = 0;
  while (i + 1 < levels->widthCount && levels->widths[i + 1] >= needWidth) ++i;
  while (j + 1 < levels->heightCount && levels->heights[j + 1] >= needHeight) ++j;
  if (levels->faces[i][j] != nullptr) return levels->faces[i][j];
  return levels->top != nullptr && levels->widthCount > 0 ? MakeLevel(levels, i, j) : nullptr;
}

void FreePictureLevels(PictureLevels* levels) {
  ForgetFaceLevelsMade(levels);
  std::free(levels->top);
  *levels = PictureLevels{};
}
