// Loads BMP fixtures for the reader's tests. Test code only.
#include "picture/bmp_fixture.h"

#include "picture/calloc_probe.h"
#include "picture/bmp_reader.h"

PictureOwner LoadBmpFixture(const std::string& name, const Bytes& bytes) {
  std::string path = WriteFixture(name + ".bmp", bytes, "bmp");
  ResetCallocProbe();
  return PictureOwner(LoadBmp(path.c_str()), std::free);
}
