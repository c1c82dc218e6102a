// TransferLevels: the exact spans of parallelogram_walk.h, each pixel the trilinear sample of a face
// picture's levels at its centre. The face's map is affine, so the level and the blend weight are
// chosen once per face and the loop only fetches and blends, in integers. Reads no globals.
#include <cmath>
#include <cstdint>

#include "render/painter.h"

namespace {

// a * (256 - f) + b * f, rounded, over 256, per channel: blue and red share a word, green alone.
inline uint32_t Blend(uint32_t a, uint32_t b, uint32_t f) {
  uint32_t g = 256 - f;
  uint32_t rb = ((a & 0xFF00FF) * g + (b & 0xFF00FF) * f + 0x800080) >> 8;
  uint32_t gg = ((a & 0xFF00) * g + (b & 0xFF00) * f + 0x8000) >> 8;
  return (rb & 0xFF00FF) | (gg & 0xFF00);
}

// One level as the loop reads it: positions are texels times 65536, sample points at texel centres.
struct LevelTap {
  const uint32_t* pixels;
  int32_t width;
  int32_t height;
  int32_t maxU;  // (width - 1) * 65536: positions are clamped to the edge texels' centres
  int32_t maxV;
  double perS;  // texels * 65536 per unit of the face's s and t coordinates
  double perT;
};

LevelTap MakeTap(const PictureLevel& level) {
  return LevelTap{level.pixels, level.width, level.height, (level.width - 1) * 65536, (level.height - 1) * 65536,
                  level.width * 65536.0, level.height * 65536.0};
}

inline uint32_t Bilinear(const LevelTap& tap, int32_t u, int32_t v) {
  u = u < 0 ? 0 : u > tap.maxU ? tap.maxU : u;
  v = v < 0 ? 0 : v > tap.maxV ? tap.maxV : v;
  int32_t x = u >> 16, y = v >> 16;
  int32_t right = x + 1 < tap.width ? 1 : 0;
  int32_t down = y + 1 < tap.height ? tap.width : 0;
  const uint32_t* at = tap.pixels + int64_t{y} * tap.width + x;
  uint32_t fx = (static_cast<uint32_t>(u) >> 8) & 0xFF, fy = (static_cast<uint32_t>(v) >> 8) & 0xFF;
  return Blend(Blend(at[0], at[right], fx), Blend(at[down], at[down + right], fx), fy);
}

// The face's sampling: one or two levels and the weight of the second.
struct FaceSampling {
  LevelTap fine;
  LevelTap coarse;
  uint32_t blend;  // 0 to 255: the coarse level's share; 0 reads only the fine one
};

// The footprint of one target pixel, in texels of the chain's level 0, is the longer of the two
// columns of the affine map; its base-2 logarithm picks the fine level and, linearly between
// powers of two, the coarse level's share. Doubles, rounded the same way on every build.
FaceSampling ChooseLevels(const ParallelogramWalk& walk, const PictureLevels& levels) {
  double d = static_cast<double>(walk.d);
  double ux = walk.s.perX * static_cast<double>(levels.topWidth) / d;
  double uy = walk.s.perY * static_cast<double>(levels.topWidth) / d;
  double vx = walk.t.perX * static_cast<double>(levels.topHeight) / d;
  double vy = walk.t.perY * static_cast<double>(levels.topHeight) / d;
  double alongX = ux * ux + vx * vx, alongY = uy * uy + vy * vy;
  double footprint = std::sqrt(alongX > alongY ? alongX : alongY);
  int level = 0;
  double power = 1.0;
  while (level < kMaxLevels && footprint >= 2.0 * power) {
    power *= 2.0;
    ++level;
  }
  uint32_t blend = static_cast<uint32_t>((footprint / power - 1.0) * 256.0);
  if (footprint < 1.0) blend = 0;  // magnified: bilinear on the top level
  int index = level - levels.dropped;
  if (index < 0) index = 0, blend = 0;
  if (index >= levels.count - 1) index = levels.count - 1, blend = 0;
  FaceSampling sampling;
  sampling.fine = MakeTap(levels.levels[index]);
  sampling.coarse = MakeTap(levels.levels[blend > 0 ? index + 1 : index]);
  sampling.blend = blend > 255 ? 255 : blend;
  return sampling;
}

// A level position walk along one span: start and per-pixel step, texels * 65536.
struct TapWalk {
  int32_t u;
  int32_t v;
  int32_t uStep;
  int32_t vStep;
};

// The position of pixel first of row y in tap, at the pixel's centre, minus half a texel so that
// the whole part names the texel whose centre lies at or before it.
TapWalk StartTap(const LevelTap& tap, const ParallelogramWalk& walk, int64_t y, int64_t first) {
  double d = static_cast<double>(walk.d);
  double s = static_cast<double>(walk.s.origin + y * walk.s.perY + first * walk.s.perX) / d;
  double t = static_cast<double>(walk.t.origin + y * walk.t.perY + first * walk.t.perX) / d;
  auto fixed = [](double value) {
    value = std::floor(value);
    return static_cast<int32_t>(value < -1e9 ? -1e9 : value > 1e9 ? 1e9 : value);
  };
  return TapWalk{fixed(s * tap.perS - 32768.0), fixed(t * tap.perT - 32768.0),
                 fixed(walk.s.perX / d * tap.perS + 0.5), fixed(walk.t.perX / d * tap.perT + 0.5)};
}

inline void Store(uint8_t* out, uint32_t colour) {
  out[0] = static_cast<uint8_t>(colour);
  out[1] = static_cast<uint8_t>(colour >> 8);
  out[2] = static_cast<uint8_t>(colour >> 16);
}

// Clamping keeps every read inside the level, so the walk's rounding can never leave it.
template <bool Two>
void PaintSpan(uint8_t* out, int64_t count, TapWalk fine, TapWalk coarse, const FaceSampling& sampling,
               const SourceWalk* clipU, const SourceWalk* clipV, int64_t d, int width, int height) {
  SourceWalk u = clipU != nullptr ? *clipU : SourceWalk{};
  SourceWalk v = clipV != nullptr ? *clipV : SourceWalk{};
  for (int64_t i = 0; i < count; ++i, out += 3) {
    if (clipU == nullptr || (u.index < width && v.index < height)) {
      uint32_t colour = Bilinear(sampling.fine, fine.u, fine.v);
      if (Two) colour = Blend(colour, Bilinear(sampling.coarse, coarse.u, coarse.v), sampling.blend);
      Store(out, colour);
    }
    if (clipU != nullptr) {
      StepWalk(&u, d);
      StepWalk(&v, d);
    }
    fine.u += fine.uStep;
    fine.v += fine.vStep;
    if (Two) {
      coarse.u += coarse.uStep;
      coarse.v += coarse.vStep;
    }
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
    TapWalk fine = StartTap(sampling.fine, walk, y, first);
    const SourceWalk* clipU = checked ? &u : nullptr;
    const SourceWalk* clipV = checked ? &v : nullptr;
    if (sampling.blend == 0) {
      PaintSpan<false>(out, last - first + 1, fine, fine, sampling, clipU, clipV, walk.d, width, height);
    } else {
      TapWalk coarse = StartTap(sampling.coarse, walk, y, first);
      PaintSpan<true>(out, last - first + 1, fine, coarse, sampling, clipU, clipV, walk.d, width, height);
    }
  }
  return true;
}
