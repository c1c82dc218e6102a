// What the JPEG reader's tests share: the fixture load and the comparison with the library's decode.
#include "jpeg_test_support.h"

#include "picture/jpeg_reader.h"

Picture LoadFixture(const std::string& name, const Bytes& file) {
  const std::string path = WriteFixture(name, file, "jpeg");
  return Picture(LoadJpeg(path.c_str()), std::free);
}

std::string DescribeMismatch(const PackedDib* picture, const ReferenceImage& want) {
  const int bytesPerPixel = picture->biBitCount / 8;
  if (!want.ok || want.components != bytesPerPixel || want.width != picture->biWidth ||
      want.height != picture->biHeight) {
    return "got " + std::to_string(picture->biWidth) + "x" + std::to_string(picture->biHeight) + "x" +
           std::to_string(bytesPerPixel) + ", want " + std::to_string(want.width) + "x" +
           std::to_string(want.height) + "x" + std::to_string(want.components);
  }
  const int stride = DibRowStride(picture->biWidth, picture->biBitCount);
  for (int y = 0; y < want.height; ++y) {
    const uint8_t* row = DibBits(picture) + static_cast<size_t>(want.height - 1 - y) * stride;
    const uint8_t* source = want.samples.data() + static_cast<size_t>(y) * want.width * bytesPerPixel;
    for (int i = 0; i < stride; ++i) {
      int wanted = 0;
      if (i < want.width * bytesPerPixel) {
        const int pixel = i / bytesPerPixel;
        const int channel = bytesPerPixel == 3 ? 2 - i % 3 : 0;
        wanted = source[pixel * bytesPerPixel + channel];
      }
      if (row[i] != wanted) {
        return "scanline " + std::to_string(y) + " byte " + std::to_string(i) + ": got " +
               std::to_string(row[i]) + ", want " + std::to_string(wanted);
      }
    }
  }
  return "";
}

