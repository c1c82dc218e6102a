// The resources as compiled into the program: the dialog template "DL0G" read field by field from
// its bytes, and the icon group "IC0N".
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "win/dialog_template_check.h"

namespace {

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Walks a classic dialog template with bounds checks against its resource size.
struct TemplateReader {
  const BYTE* bytes;
  size_t size;
  size_t at;
  bool overrun;
};

WORD Word(TemplateReader* reader) {
  if (reader->at + 2 > reader->size) {
    reader->overrun = true;
    return 0;
  }
  WORD value;
  std::memcpy(&value, reader->bytes + reader->at, 2);
  reader->at += 2;
  return value;
}

DWORD Dword(TemplateReader* reader) {
  DWORD low = Word(reader);
  return low | (static_cast<DWORD>(Word(reader)) << 16);
}

// A name or ordinal field: "#<n>" for an ordinal, else the UTF-16 text (ASCII here).
std::string NameOrOrdinal(TemplateReader* reader) {
  WORD first = Word(reader);
  if (first == 0xffff) return "#" + std::to_string(Word(reader));
  std::string text;
  for (WORD c = first; c != 0 && !reader->overrun; c = Word(reader)) text += static_cast<char>(c);
  return text;
}

// The predefined control classes a template may name by atom.
std::string ClassName(const std::string& field) {
  if (field == "#128") return "Button";
  if (field == "#129") return "Edit";
  if (field == "#130") return "Static";
  if (field == "#132") return "ScrollBar";
  return field;
}

const BYTE* Resource(LPCSTR type, LPCSTR name, size_t* size) {
  HRSRC found = FindResourceExA(nullptr, type, name, kEnglishUs);
  if (found == nullptr) return nullptr;
  *size = SizeofResource(nullptr, found);
  return static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
}

}  // namespace

TEST(DialogTemplate, HeaderIsClassicWithCaptionAndFont) {
  size_t size = 0;
  const BYTE* bytes = Resource(RT_DIALOG, "DL0G", &size);
  ASSERT_NE(bytes, nullptr) << "no DL0G dialog in language 1033";
  TemplateReader reader = {bytes, size, 0, false};
  EXPECT_EQ(Dword(&reader), kExpectedDialogStyle);  // an extended template would start with 1, 0xffff
  EXPECT_EQ(Dword(&reader), 0u) << "extended style";
  EXPECT_EQ(Word(&reader), 17) << "controls";
  const WORD want[] = {10, 10, 186, 89};
  for (WORD value : want) EXPECT_EQ(Word(&reader), value);
  EXPECT_EQ(NameOrOrdinal(&reader), "") << "menu";
  EXPECT_EQ(NameOrOrdinal(&reader), "") << "class";
  EXPECT_EQ(NameOrOrdinal(&reader), "WhirlBox Setup");
  EXPECT_EQ(Word(&reader), 8) << "font size";
  EXPECT_EQ(NameOrOrdinal(&reader), "MS Sans Serif");
  EXPECT_FALSE(reader.overrun);
}

TEST(DialogTemplate, ControlsInTemplateOrder) {
  size_t size = 0;
  const BYTE* bytes = Resource(RT_DIALOG, "DL0G", &size);
  ASSERT_NE(bytes, nullptr);
  TemplateReader reader = {bytes, size, 18, false};
  for (int i = 0; i < 3; ++i) NameOrOrdinal(&reader);  // menu, class, caption
  Word(&reader);                                       // font size
  NameOrOrdinal(&reader);                              // font name
  for (const ExpectedControl& want : kExpectedControls) {
    reader.at = (reader.at + 3) & ~size_t{3};  // each control starts on a 4-byte boundary
    SCOPED_TRACE("control " + std::to_string(want.id));
    EXPECT_EQ(Dword(&reader), want.style | WS_CHILD | WS_VISIBLE) << "style";
    EXPECT_EQ(Dword(&reader), 0u) << "extended style";
    EXPECT_EQ(static_cast<short>(Word(&reader)), want.x);
    EXPECT_EQ(static_cast<short>(Word(&reader)), want.y);
    EXPECT_EQ(static_cast<short>(Word(&reader)), want.width);
    EXPECT_EQ(static_cast<short>(Word(&reader)), want.height);
    EXPECT_EQ(Word(&reader), want.id);
    EXPECT_EQ(ClassName(NameOrOrdinal(&reader)), want.className);
    EXPECT_EQ(NameOrOrdinal(&reader), want.text);
    EXPECT_EQ(Word(&reader), 0) << "creation data";
  }
  EXPECT_FALSE(reader.overrun);
  EXPECT_LE(size - reader.at, 3u) << "bytes after the last control";
}

TEST(Icon, OneImageOf32By32With16Colours) {
  size_t size = 0;
  const BYTE* group = Resource(RT_GROUP_ICON, "IC0N", &size);
  ASSERT_NE(group, nullptr) << "no IC0N icon group in language 1033";
  ASSERT_EQ(size, 6u + 14u);  // the directory and one entry
  TemplateReader reader = {group, size, 0, false};
  EXPECT_EQ(Word(&reader), 0);
  EXPECT_EQ(Word(&reader), 1) << "type icon";
  EXPECT_EQ(Word(&reader), 1) << "images";
  EXPECT_EQ(group[6], 32) << "width";
  EXPECT_EQ(group[7], 32) << "height";
  EXPECT_EQ(group[8], 16) << "colours";
  WORD bits, id;
  std::memcpy(&bits, group + 12, 2);
  std::memcpy(&id, group + 18, 2);
  EXPECT_EQ(bits, 4);
  size_t imageSize = 0;
  const BYTE* image = Resource(RT_ICON, MAKEINTRESOURCEA(id), &imageSize);
  ASSERT_NE(image, nullptr);
  ASSERT_GE(imageSize, 40u + 64u + 512u + 128u);
  BITMAPINFOHEADER header;
  std::memcpy(&header, image, sizeof header);
  EXPECT_EQ(header.biWidth, 32);
  EXPECT_EQ(header.biHeight, 64) << "colour rows and mask rows";
  EXPECT_EQ(header.biBitCount, 4);
  HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image), static_cast<DWORD>(imageSize), TRUE, 0x00030000,
                                        32, 32, 0);
  EXPECT_NE(icon, nullptr) << "the system cannot make an icon of it";
}
