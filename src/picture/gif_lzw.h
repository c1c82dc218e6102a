// The GIF LZW decoder: one frame's code stream, packed least significant bit first into data
// sub-blocks, into the frame's pixel buffer, and the row table that hides interlacing.
// Reads only through the byte source and reports through ReportProblem; knows nothing of pictures.
#pragma once
#include <cstdint>

#include "picture/gif_parser.h"

// Bytes allocated after a frame's pixels so strings can be copied in whole 8-byte pieces.
enum { kGifPixelSlack = 16 };

// Allocates the frame's pixels and row table, then decodes its raster from the minimum code size
// byte on. False only when an allocation fails; then nothing is read.
bool DecodeFrame(DecodeContext* context, GifFrame* frame, ByteSource* source);

// Builds the row table for buffer (which the frame then owns) in plain or interlaced order. False
// when buffer is null or the table cannot be allocated; buffer is then released.
bool SetFramePixels(GifFrame* frame, uint8_t* buffer, bool interlaced);

// The image row that holds row index of an interlaced frame's data order, for a height of height.
int InterlacedRow(int index, int height);

// Decodes one raster into the context's output window, consuming the data up to its terminator.
void DecodeRaster(DecodeContext* context, ByteSource* source);

// Makes bits [*bitPosition, *bitPosition + needed) available in buffer, reading sub-blocks as
// needed. False (position and length untouched) when a zero length comes first.
bool FillBits(ByteSource* source, uint8_t* buffer, int* bitPosition, int* bitLength, int needed);

// Writes code's string at the written count and returns its first byte; 0 after a problem.
uint8_t EmitCode(DecodeContext* context, int code);
