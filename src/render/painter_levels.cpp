// TransferLevels: the exact spans of parallelogram_walk.h, each pixel the mean of a face picture's
// level over a box the size of the pixel's footprint. The face's map is affine, so the level and the blend weight are
// chosen once per face and the loop only fetches and blends, in integers. Reads no globals.
#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/painter.h"

namespace {

// One level as the loop reads it: positions are texels times 65536, sample points at texel centres.
struct LevelTap {
  const uint32_t* pixels;
  int32_t width;
  int32_t height;
  double perS;  // texels * 65536 per unit of the face's s and t coordinates
  double perT;
};

// The face's filter: an axis-aligned box on one level, its size per axis in that level's texels
// times 65536 (1 to 2 texels: three taps at most), and 2^24 * 256 / size for the weights: a
// weight is (overlap * inverse) >> 24, within 32 bits.
struct FaceSampling {
  LevelTap tap;
  int32_t halfU;
  int32_t halfV;
  uint32_t inverseU;
  uint32_t inverseV;
};

// The box's sides in texels of the chain's level 0 are the extents of one target pixel mapped by the
// face's affine map (exact for a face seen front-on); the longer picks the level in which it spans
// one to two texels. A face larger than its top level gets a one-texel box there: bilinear. Doubles
// rounded the same way on every build.
FaceSampling ChooseLevels(const ParallelogramWalk& walk, const PictureLevels& levels) {
  double d = static_cast<double>(walk.d);
  double ux = walk.s.perX * static_cast<double>(levels.topWidth) / d;
  double uy = walk.s.perY * static_cast<double>(levels.topWidth) / d;
  double vx = walk.t.perX * static_cast<double>(levels.topHeight) / d;
  double vy = walk.t.perY * static_cast<double>(levels.topHeight) / d;
  double boxU = std::fabs(ux) + std::fabs(uy), boxV = std::fabs(vx) + std::fabs(vy);
  double longer = boxU > boxV ? boxU : boxV;
  int level = 0;
  double power = 1.0;
  while (level + 1 < levels.dropped + levels.count && longer >= 2.0 * power) {
    power *= 2.0;
    ++level;
  }
  int index = level - levels.dropped;
  if (index < 0) index = 0;
  power = static_cast<double>(int64_t{1} << (levels.dropped + index));
  // Level n's texels are 2^n texels of level 0 wide (its last one, on an odd side, fewer), so every
  // level lines up with the picture's edges.
  const PictureLevel& chosen = levels.levels[index];
  FaceSampling sampling;
  sampling.tap = LevelTap{chosen.pixels, chosen.width, chosen.height, levels.topWidth * 65536.0 / power,
                          levels.topHeight * 65536.0 / power};
  auto side = [](double texels) {
    int32_t size = static_cast<int32_t>(texels * 65536.0 + 0.5);
    return size < 65536 ? 65536 : size > 131072 ? 131072 : size;
  };
  int32_t sizeU = side(boxU / power), sizeV = side(boxV / power);
  sampling.halfU = sizeU / 2;
  sampling.halfV = sizeV / 2;
  sampling.inverseU = static_cast<uint32_t>((uint64_t{1} << 32) / static_cast<uint32_t>(2 * sampling.halfU + 1));
  sampling.inverseV = static_cast<uint32_t>((uint64_t{1} << 32) / static_cast<uint32_t>(2 * sampling.halfV + 1));
  return sampling;
}

// The box's three taps along one axis: the texels (clamped into the level) and their weights,
// summing to 256. The box is 1 to 2 texels long, so it always covers the rest of its first texel
// and reaches into the third only past the second's far edge.
struct AxisTaps {
  int32_t at0;
  int32_t at1;
  int32_t at2;
  uint32_t weight[3];
};

inline AxisTaps Taps(int32_t centre, int32_t half, uint32_t inverse, int32_t last) {
  int32_t a = centre - half;
  int32_t first = a >> 16;  // arithmetic shift: floor
  uint32_t into = static_cast<uint32_t>(a) & 0xFFFF;
  int32_t beyond = static_cast<int32_t>(into) + 2 * half - 131072;
  AxisTaps taps;
  taps.weight[0] = ((65536 - into) * inverse) >> 24;
  taps.weight[2] = beyond > 0 ? (static_cast<uint32_t>(beyond) * inverse) >> 24 : 0;
  taps.weight[1] = 256 - taps.weight[0] - taps.weight[2];
  auto clamp = [last](int32_t x) { return x < 0 ? 0 : x > last ? last : x; };
  taps.at0 = clamp(first);
  taps.at1 = clamp(first + 1);
  taps.at2 = clamp(first + 2);
  return taps;
}

// Three packed pixels weighted to 256, rounded, per channel: blue and red share a word, green alone
// (the plain form, for builds without SSE2).
[[maybe_unused]] inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t c, const uint32_t* w) {
  uint32_t rb = (a & 0xFF00FF) * w[0] + (b & 0xFF00FF) * w[1] + (c & 0xFF00FF) * w[2] + 0x800080;
  uint32_t g = (a & 0xFF00) * w[0] + (b & 0xFF00) * w[1] + (c & 0xFF00) * w[2] + 0x8000;
  return ((rb >> 8) & 0xFF00FF) | ((g >> 8) & 0xFF00);
}

// The mean of the level over the box around (u, v): exact for the level's texels taken as flat.
// Each channel of each of the three rows is (sum of texel * weight + 128) >> 8, then the rows
// likewise: the SSE2 form (both Windows builds and x86-64 Linux) computes the very same integers as
// the plain one, two rows at a time in 16-bit lanes (a sum is at most 255 * 256 + 128).
#if defined(__SSE2__)
inline __m128i Pair(uint32_t a, uint32_t b) {
  __m128i both = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(a)), _mm_cvtsi32_si128(static_cast<int>(b)));
  return _mm_unpacklo_epi8(both, _mm_setzero_si128());
}

inline __m128i Weights(uint32_t low, uint32_t high) {
  return _mm_set_epi16(static_cast<short>(high), static_cast<short>(high), static_cast<short>(high),
                       static_cast<short>(high), static_cast<short>(low), static_cast<short>(low),
                       static_cast<short>(low), static_cast<short>(low));
}

#endif

inline uint32_t BoxSample(const FaceSampling& sampling, int32_t u, int32_t v) {
  const LevelTap& tap = sampling.tap;
  AxisTaps across = Taps(u, sampling.halfU, sampling.inverseU, tap.width - 1);
  AxisTaps down = Taps(v, sampling.halfV, sampling.inverseV, tap.height - 1);
  const uint32_t* r0 = tap.pixels + int64_t{down.at0} * tap.width;
  const uint32_t* r1 = tap.pixels + int64_t{down.at1} * tap.width;
  const uint32_t* r2 = tap.pixels + int64_t{down.at2} * tap.width;
#if defined(__SSE2__)
  const __m128i round = _mm_set1_epi16(128);
  const __m128i w0 = _mm_set1_epi16(static_cast<short>(across.weight[0]));
  const __m128i w1 = _mm_set1_epi16(static_cast<short>(across.weight[1]));
  const __m128i w2 = _mm_set1_epi16(static_cast<short>(across.weight[2]));
  auto mix = [&](const uint32_t* a, const uint32_t* b) {
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(Pair(a[across.at0], b[across.at0]), w0),
                                _mm_mullo_epi16(Pair(a[across.at1], b[across.at1]), w1));
    sum = _mm_add_epi16(sum, _mm_add_epi16(_mm_mullo_epi16(Pair(a[across.at2], b[across.at2]), w2), round));
    return _mm_srli_epi16(sum, 8);
  };
  __m128i rows01 = mix(r0, r1), rows22 = mix(r2, r2);
  __m128i sum = _mm_mullo_epi16(rows01, Weights(down.weight[0], down.weight[1]));
  sum = _mm_add_epi16(sum, _mm_srli_si128(sum, 8));
  sum = _mm_add_epi16(sum, _mm_add_epi16(_mm_mullo_epi16(rows22, Weights(down.weight[2], down.weight[2])), round));
  sum = _mm_srli_epi16(sum, 8);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
#else
  return Mix(Mix(r0[across.at0], r0[across.at1], r0[across.at2], across.weight),
             Mix(r1[across.at0], r1[across.at1], r1[across.at2], across.weight),
             Mix(r2[across.at0], r2[across.at1], r2[across.at2], across.weight), down.weight);
#endif
}

// A level position walk along one span: start and per-pixel step, texels * 65536.
struct TapWalk {
  int32_t u;
  int32_t v;
  int32_t uStep;
  int32_t vStep;
};

// The position of the centre of pixel first of row y in the chosen level.
TapWalk StartTap(const LevelTap& tap, const ParallelogramWalk& walk, int64_t y, int64_t first) {
  double d = static_cast<double>(walk.d);
  double s = static_cast<double>(walk.s.origin + y * walk.s.perY + first * walk.s.perX) / d;
  double t = static_cast<double>(walk.t.origin + y * walk.t.perY + first * walk.t.perX) / d;
  auto fixed = [](double value) {
    value = std::floor(value);
    return static_cast<int32_t>(value < -1e9 ? -1e9 : value > 1e9 ? 1e9 : value);
  };
  return TapWalk{fixed(s * tap.perS), fixed(t * tap.perT), fixed(walk.s.perX / d * tap.perS + 0.5),
                 fixed(walk.t.perX / d * tap.perT + 0.5)};
}

inline void Store(uint8_t* out, uint32_t colour) {
  out[0] = static_cast<uint8_t>(colour);
  out[1] = static_cast<uint8_t>(colour >> 8);
  out[2] = static_cast<uint8_t>(colour >> 16);
}

// Every tap is clamped into the level, so the walk's rounding can never read outside it. With clip
// walks, face pixels beyond width x height have no sample and stay as they are.
void PaintSpan(uint8_t* out, int64_t count, TapWalk at, const FaceSampling& sampling, const SourceWalk* clipU,
               const SourceWalk* clipV, int64_t d, int width, int height) {
  SourceWalk u = clipU != nullptr ? *clipU : SourceWalk{};
  SourceWalk v = clipV != nullptr ? *clipV : SourceWalk{};
  for (int64_t i = 0; i < count; ++i, out += 3) {
    if (clipU == nullptr || (u.index < width && v.index < height)) Store(out, BoxSample(sampling, at.u, at.v));
    if (clipU != nullptr) {
      StepWalk(&u, d);
      StepWalk(&v, d);
    }
    at.u += at.uStep;
    at.v += at.vStep;
  }
}

}  // namespace

bool TransferLevels(const Surface& target, const ScreenPoint corners[3], const PictureLevels& levels, int w, int hh,
                    int scratchWidth, int scratchHeight) {
  if (scratchWidth > kMaxSurfaceSide || scratchHeight > kMaxSurfaceSide) return false;
  ParallelogramWalk walk;
  int start = StartParallelogram(corners, w, hh, target.height, &walk);
  if (start != 0) return start > 0;
  if (!SurfaceUsable(target) || scratchWidth <= 0 || scratchHeight <= 0 || levels.count == 0) return true;
  const int width = w < scratchWidth ? w : scratchWidth, height = hh < scratchHeight ? hh : scratchHeight;
  const bool checked = w > width || hh > height;  // face pixels beyond the scratch surface stay unpainted
  FaceSampling sampling = ChooseLevels(walk, levels);
  for (int64_t y = walk.firstRow; y <= walk.lastRow; ++y) {
    int64_t first, last;
    SourceWalk u, v;
    if (!RowSpan(walk, y, target.width, &first, &last, &u, &v)) continue;
    uint8_t* out = SurfaceRow(target, static_cast<int>(y)) + 3 * first;
    const SourceWalk* clipU = checked ? &u : nullptr;
    const SourceWalk* clipV = checked ? &v : nullptr;
    PaintSpan(out, last - first + 1, StartTap(sampling.tap, walk, y, first), sampling, clipU, clipV, walk.d, width,
              height);
  }
  return true;
}
