// The test GIF writer: an LZW encoder that mirrors the decoder's table and code-width rules, and
// the block layout of whole files. Test code only; it does not use the reader under test.
#include "common/gif_encoder.h"

namespace {

struct BitWriter {
  Bytes bytes;
  uint32_t pending = 0;
  int pendingBits = 0;
};

void WriteCode(BitWriter& writer, int code, int width) {
  writer.pending |= static_cast<uint32_t>(code) << writer.pendingBits;
  writer.pendingBits += width;
  while (writer.pendingBits >= 8) {
    writer.bytes.push_back(static_cast<uint8_t>(writer.pending));
    writer.pending >>= 8;
    writer.pendingBits -= 8;
  }
}

Bytes FinishBits(BitWriter& writer) {
  if (writer.pendingBits > 0) writer.bytes.push_back(static_cast<uint8_t>(writer.pending));
  return writer.bytes;
}

// The encoder's view of the decoder: the next free code and the width the next code is read with.
struct LzwState {
  int clear;
  int next;
  int width;
  bool full;
  uint32_t generation = 1;
  std::vector<uint32_t> stamp;  // dictionary slot valid when it equals generation
  std::vector<uint16_t> code;   // (prefix << 8 | byte) -> code
};

void ResetState(LzwState& state, int minCodeSize) {
  state.next = state.clear + 1;
  state.width = minCodeSize + 1;
  state.full = false;
  state.generation += 1;
}

// Emits one data code and advances the decoder's next free code as the decoder will.
void EmitData(BitWriter& writer, LzwState& state, int code) {
  WriteCode(writer, code, state.width);
  if (state.full) return;
  state.next += 1;
  if (state.next == (1 << state.width)) {
    if (state.width < 12) {
      state.width += 1;
    } else {
      state.full = true;
    }
  }
}

}  // namespace

uint8_t TestPaletteRed(int i, bool local) { return static_cast<uint8_t>(i * 7 + (local ? 100 : 3)); }
uint8_t TestPaletteGreen(int i, bool local) { return static_cast<uint8_t>(i * 13 + (local ? 50 : 1)); }
uint8_t TestPaletteBlue(int i, bool local) { return static_cast<uint8_t>(255 - i * 3 - (local ? 9 : 0)); }

Bytes LzwEncode(const std::vector<uint8_t>& pixels, int minCodeSize, bool clearWhenFull) {
  BitWriter writer;
  LzwState state;
  state.clear = 1 << minCodeSize;
  state.stamp.assign(4096 * 256, 0);
  state.code.assign(4096 * 256, 0);
  ResetState(state, minCodeSize);
  WriteCode(writer, state.clear, state.width);
  int current = -1;  // the code of the string matched so far
  for (uint8_t pixel : pixels) {
    if (current < 0) {
      current = pixel;
      continue;
    }
    uint32_t key = static_cast<uint32_t>(current) << 8 | pixel;
    if (state.stamp[key] == state.generation) {
      current = state.code[key];
      continue;
    }
    int added = state.next + 1;  // the slot the decoder fills when it reads the following code
    EmitData(writer, state, current);
    if (state.full && clearWhenFull) {
      WriteCode(writer, state.clear, state.width);
      ResetState(state, minCodeSize);
    } else if (!state.full) {
      state.stamp[key] = state.generation;
      state.code[key] = static_cast<uint16_t>(added);
    }
    current = pixel;
  }
  if (current >= 0) EmitData(writer, state, current);
  WriteCode(writer, state.clear + 1, state.width);
  return FinishBits(writer);
}

Bytes PackCodes(const std::vector<std::pair<int, int>>& codesAndWidths) {
  BitWriter writer;
  for (const auto& item : codesAndWidths) WriteCode(writer, item.first, item.second);
  return FinishBits(writer);
}

Bytes SubBlocks(const Bytes& data, int blockSize) {
  Bytes out;
  for (size_t at = 0; at < data.size(); at += static_cast<size_t>(blockSize)) {
    size_t n = data.size() - at < static_cast<size_t>(blockSize) ? data.size() - at : static_cast<size_t>(blockSize);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
  }
  out.push_back(0);
  return out;
}

std::vector<int> InterlacedOrder(int height) {
  std::vector<int> order;
  const int starts[4] = {0, 4, 2, 1};
  const int steps[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int row = starts[pass]; row < height; row += steps[pass]) order.push_back(row);
  }
  return order;
}

static int SizeBits(int colors) {
  int bits = 0;
  while ((2 << bits) < colors) ++bits;
  return bits;
}

static void PutPalette(Bytes& out, int colors, bool local) {
  for (int i = 0; i < colors; ++i) {
    Put8(out, TestPaletteRed(i, local));
    Put8(out, TestPaletteGreen(i, local));
    Put8(out, TestPaletteBlue(i, local));
  }
}

Bytes GifHeaderBytes(int width, int height, int colors, int background) {
  Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, static_cast<unsigned>(width));
  Put16(out, static_cast<unsigned>(height));
  Put8(out, colors > 0 ? 0x80 | 0x70 | static_cast<unsigned>(SizeBits(colors)) : 0x70);
  Put8(out, static_cast<unsigned>(background));
  Put8(out, 0);  // pixel aspect
  if (colors > 0) PutPalette(out, colors, false);
  return out;
}

static void PutFrame(Bytes& out, const TestFrame& frame, int subBlockSize) {
  if (frame.transparent >= 0 || frame.delay > 0) {
    Bytes control = {0x21, 0xF9, 4, static_cast<uint8_t>(frame.transparent >= 0 ? 1 : 0)};
    Put16(control, static_cast<unsigned>(frame.delay));
    Put8(control, frame.transparent >= 0 ? static_cast<unsigned>(frame.transparent) : 0);
    Put8(control, 0);
    out.insert(out.end(), control.begin(), control.end());
  }
  Put8(out, 0x2C);
  Put16(out, static_cast<unsigned>(frame.left));
  Put16(out, static_cast<unsigned>(frame.top));
  Put16(out, static_cast<unsigned>(frame.width));
  Put16(out, static_cast<unsigned>(frame.height));
  unsigned packed = frame.interlaced ? 0x40 : 0;
  if (frame.localColors > 0) packed |= 0x80 | static_cast<unsigned>(SizeBits(frame.localColors));
  Put8(out, packed);
  if (frame.localColors > 0) PutPalette(out, frame.localColors, true);
  std::vector<uint8_t> stored = frame.pixels;
  if (frame.interlaced) {
    std::vector<int> order = InterlacedOrder(frame.height);
    for (size_t i = 0; i < order.size(); ++i) {
      for (int k = 0; k < frame.width; ++k) {
        stored[i * static_cast<size_t>(frame.width) + static_cast<size_t>(k)] =
            frame.pixels[static_cast<size_t>(order[i]) * static_cast<size_t>(frame.width) + static_cast<size_t>(k)];
      }
    }
  }
  Put8(out, static_cast<unsigned>(frame.minCodeSize));
  Bytes data = SubBlocks(LzwEncode(stored, frame.minCodeSize, frame.clearWhenFull), subBlockSize);
  out.insert(out.end(), data.begin(), data.end());
}

Bytes EncodeGif(const TestGif& gif) {
  Bytes out = GifHeaderBytes(gif.width, gif.height, gif.globalColors, gif.background);
  for (const TestFrame& frame : gif.frames) PutFrame(out, frame, gif.subBlockSize);
  if (gif.trailer) Put8(out, 0x3B);
  return out;
}

Bytes EncodeScreenGif(int width, int height, std::vector<uint8_t> pixels) {
  TestGif gif;
  gif.width = width;
  gif.height = height;
  TestFrame frame;
  frame.width = width;
  frame.height = height;
  frame.pixels = std::move(pixels);
  gif.frames.push_back(std::move(frame));
  return EncodeGif(gif);
}
