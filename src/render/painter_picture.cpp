// TransferPicture: the exact spans of parallelogram_walk.h, each pixel read from the picture at the
// column and row the face's scaling maps its sample to, through two tables filled once per face; and
// the pictures it can read. Nothing is allocated per frame.
#include <cstdint>
#include <cstring>

#include "render/painter.h"

void FillColumnOffsets(int32_t* offsets, int srcWidth, int w, int count, int bytesPerPixel) {
  int64_t den = 2 * static_cast<int64_t>(w);
  int64_t column = srcWidth / den, remainder = srcWidth % den;
  int64_t step = (2 * static_cast<int64_t>(srcWidth)) / den;
  int64_t stepRemainder = (2 * static_cast<int64_t>(srcWidth)) % den;
  for (int x = 0; x < count; ++x) {
    offsets[x] = static_cast<int32_t>(column * bytesPerPixel);
    column += step;
    remainder += stepRemainder;
    if (remainder >= den) {
      remainder -= den;
      ++column;
    }
  }
}

bool StretchablePicture(const PackedDib* picture) {
  if (picture == nullptr || picture->biWidth <= 0 || picture->biHeight <= 0) return false;
  int bits = picture->biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  if (picture->biWidth > 65535 || DibColorCount(picture) < 0) return false;
  int64_t rows = static_cast<int64_t>(picture->biHeight) * DibRowStride64(picture->biWidth, bits);
  return rows <= static_cast<int64_t>(picture->biSizeImage);
}

void LoadPalette(const PackedDib* picture, uint32_t palette[256]) {
  std::memset(palette, 0, 256 * sizeof(uint32_t));
  int count = DibColorCount(picture);
  int limit = 1 << picture->biBitCount;
  if (count > limit) count = limit;
  const DibColor* table = DibColors(picture);
  for (int i = 0; i < count; ++i) palette[i] = table[i].blue | (table[i].green << 8) | (uint32_t{table[i].red} << 16);
}

namespace {

int32_t ColumnOffsets[kMaxSurfaceSide];     // byte offset (the column for 1 and 4 bits) of each face column
const uint8_t* RowStarts[kMaxSurfaceSide];  // the picture row under each face row

struct PictureSource {
  int width;      // face columns that have a sample: the scratch surface clips the stretch
  int height;     // face rows that have one
  int64_t ahead;  // picture bytes between a pixel's sample and the same column's sample rows below
  uint32_t raised[256];  // the palette, each colour shifted up by a byte
};

// The pixel's colour in the top three bytes of a word, so that the word can be stored from the byte
// before the pixel: 24 and 32 bits read the four bytes that end with the pixel's blue, green and red
// (the header lies before the first pixel inside the block, whereas the byte after the last pixel may
// lie beyond it); indices go through the palette, kept shifted up by a byte.
template <int Bits>
inline uint32_t RaisedSampleAt(const PictureSource& source, int64_t u, int64_t v) {
  const uint8_t* at = RowStarts[v] + ColumnOffsets[u];
  uint32_t pixel;
  if (Bits == 24 || Bits == 32) {
    std::memcpy(&pixel, at - 1, 4);
    return pixel;
  }
  if (Bits == 8) return source.raised[*at];
  return PackedIndexColour(RowStarts[v], ColumnOffsets[u], Bits, source.raised);
}

// The colour as 0x00RRGGBB, for the pixels stored with three bytes.
template <int Bits>
inline uint32_t SampleAt(const PictureSource& source, int64_t u, int64_t v) {
  return RaisedSampleAt<Bits>(source, u, v) >> 8;
}

// The common case: a sample for every pixel, whole indices from fixed-point positions (exact, see
// FixedBits). The span is painted from right to left, each pixel stored as four bytes from the byte
// before it: that byte is the red of the left neighbour, painted next. This saves the shift and the
// partial store per pixel; the leftmost pixel, whose left neighbour is not ours, is stored with three.
template <int Bits>
void PaintFixed(uint8_t* out, int64_t count, FixedWalk u, FixedWalk v, int bits, const PictureSource& source) {
  int64_t n = count - 1;
  int64_t uAt = u.position + n * u.step, vAt = v.position + n * v.step;
  const int64_t uStep = u.step, vStep = v.step;
  const int64_t ahead = source.ahead;
  uint8_t* at = out + 3 * n;
  // Ask early for what the same column needs some rows further down: the picture is read in slanted
  // lines that the processor's own prefetching does not follow. Prefetching never faults; the
  // address is formed as an integer because it may lie outside the picture. Every other pixel is
  // enough: neighbours mostly share their lines, and each prefetch costs a memory operation.
  auto paint = [&](uint8_t* pixelAt, bool prefetch) {
    int64_t column = uAt >> bits, row = vAt >> bits;
    if (prefetch) {
      uintptr_t later = reinterpret_cast<uintptr_t>(RowStarts[row] + ColumnOffsets[column]) +
                        static_cast<uintptr_t>(ahead);
      __builtin_prefetch(reinterpret_cast<const void*>(later));
    }
    uint32_t pixel = RaisedSampleAt<Bits>(source, column, row);
    std::memcpy(pixelAt - 1, &pixel, 4);
    uAt -= uStep;
    vAt -= vStep;
  };
  for (; n >= 4; n -= 4, at -= 12) {
    paint(at, true);
    paint(at - 3, false);
    paint(at - 6, true);
    paint(at - 9, false);
  }
  for (; n > 0; --n, at -= 3) paint(at, true);
  uint32_t pixel = SampleAt<Bits>(source, uAt >> bits, vAt >> bits);
  std::memcpy(at, &pixel, 3);
}

// Every other case: the exact quotient-and-remainder walk, leaving pixels without a sample unchanged.
template <int Bits>
void PaintChecked(uint8_t* out, int64_t count, SourceWalk u, SourceWalk v, int64_t d, const PictureSource& source) {
  for (int64_t i = 0; i < count; ++i, out += 3) {
    if (u.index < source.width && v.index < source.height) {
      uint32_t pixel = SampleAt<Bits>(source, u.index, v.index);
      std::memcpy(out, &pixel, 3);
    }
    StepWalk(&u, d);
    StepWalk(&v, d);
  }
}

// Spans are painted in bands of rows and, within a band, in chunks of columns: the picture is read
// along slanted lines, and a short piece of each of a band's rows keeps the picture rows and pages in
// use few, where whole rows would walk through hundreds of them.
constexpr int kBandRows = 16;
constexpr int64_t kChunkColumns = 256;

struct BandRow {
  uint8_t* out;  // the row's first pixel in the span
  int64_t first;
  int64_t last;
  FixedWalk u;
  FixedWalk v;
};

template <int Bits>
void PaintBand(const BandRow* rows, int count, int bits, const PictureSource& source) {
  int64_t left = rows[0].first, right = rows[0].last;
  for (int i = 1; i < count; ++i) {
    if (rows[i].first < left) left = rows[i].first;
    if (rows[i].last > right) right = rows[i].last;
  }
  for (int64_t chunk = left; chunk <= right; chunk += kChunkColumns) {
    for (int i = 0; i < count; ++i) {
      const BandRow& row = rows[i];
      int64_t a = row.first > chunk ? row.first : chunk;
      int64_t b = row.last < chunk + kChunkColumns - 1 ? row.last : chunk + kChunkColumns - 1;
      if (a > b) continue;
      int64_t skip = a - row.first;
      FixedWalk u{row.u.position + skip * row.u.step, row.u.step};
      FixedWalk v{row.v.position + skip * row.v.step, row.v.step};
      PaintFixed<Bits>(row.out + 3 * skip, b - a + 1, u, v, bits, source);
    }
  }
}

template <int Bits>
void PaintRows(const Surface& target, const ParallelogramWalk& walk, const PictureSource& source, bool checked) {
  int fixedBits = checked ? -1 : FixedBits(walk.d, target.width);
  BandRow band[kBandRows];
  int banded = 0;
  for (int64_t y = walk.firstRow; y <= walk.lastRow; ++y) {
    int64_t first, last;
    SourceWalk u, v;
    if (!RowSpan(walk, y, target.width, &first, &last, &u, &v)) continue;
    uint8_t* out = SurfaceRow(target, static_cast<int>(y)) + 3 * first;
    if (fixedBits < 0) {
      PaintChecked<Bits>(out, last - first + 1, u, v, walk.d, source);
      continue;
    }
    band[banded++] = BandRow{out, first, last, MakeFixed(u, walk.d, fixedBits), MakeFixed(v, walk.d, fixedBits)};
    if (banded == kBandRows) {
      PaintBand<Bits>(band, banded, fixedBits, source);
      banded = 0;
    }
  }
  if (banded > 0) PaintBand<Bits>(band, banded, fixedBits, source);
}

}  // namespace

bool TransferPicture(const Surface& target, const ScreenPoint corners[3], const PackedDib* picture, int w, int hh,
                     int scratchWidth, int scratchHeight) {
  if (scratchWidth > kMaxSurfaceSide || scratchHeight > kMaxSurfaceSide) return false;
  ParallelogramWalk walk;
  int start = StartParallelogram(corners, w, hh, target.height, &walk);
  if (start != 0) return start > 0;
  if (!SurfaceUsable(target) || scratchWidth <= 0 || scratchHeight <= 0) return true;

  PictureSource source;
  int bits = picture->biBitCount;
  source.width = w < scratchWidth ? w : scratchWidth;
  source.height = hh < scratchHeight ? hh : scratchHeight;
  if (bits <= 8) {
    LoadPalette(picture, source.raised);
    for (uint32_t& colour : source.raised) colour <<= 8;
  }
  FillColumnOffsets(ColumnOffsets, picture->biWidth, w, source.width, bits >= 8 ? bits / 8 : 1);
  const uint8_t* pixels = DibBits(picture);
  int64_t stride = DibRowStride64(picture->biWidth, bits);
  for (int v = 0; v < source.height; ++v) {  // rows are stored bottom-up
    RowStarts[v] = pixels + (picture->biHeight - 1 - StretchSourceIndex(v, picture->biHeight, hh)) * stride;
  }
  // Sixteen rows down the target the sample moves by (du, dv) face pixels, which the stretch scales to
  // the picture; an estimate is enough for a prefetch.
  double du = 16.0 * static_cast<double>(walk.s.perY) * w / static_cast<double>(walk.d);
  double dv = 16.0 * static_cast<double>(walk.t.perY) * hh / static_cast<double>(walk.d);
  double bytesPerColumn = bits >= 8 ? (bits / 8) * static_cast<double>(picture->biWidth) / w : 0.0;
  source.ahead = static_cast<int64_t>(du * bytesPerColumn) -
                 static_cast<int64_t>(dv * picture->biHeight / hh) * stride;
  bool checked = w > source.width || hh > source.height;
  switch (bits) {
    case 1: PaintRows<1>(target, walk, source, checked); break;
    case 4: PaintRows<4>(target, walk, source, checked); break;
    case 8: PaintRows<8>(target, walk, source, checked); break;
    case 24: PaintRows<24>(target, walk, source, checked); break;
    default: PaintRows<32>(target, walk, source, checked); break;
  }
  return true;
}

bool PicturePaintsWholeParallelogram(const Surface& target, const ScreenPoint corners[3], int w, int hh,
                                     int scratchWidth, int scratchHeight, ParallelogramWalk* walk) {
  if (scratchWidth > kMaxSurfaceSide || scratchHeight > kMaxSurfaceSide) return false;
  if (StartParallelogram(corners, w, hh, target.height, walk) != 0) return false;
  if (!SurfaceUsable(target) || scratchWidth <= 0 || scratchHeight <= 0) return false;
  return w <= scratchWidth && hh <= scratchHeight;  // else face pixels beyond the scratch stay unpainted
}
