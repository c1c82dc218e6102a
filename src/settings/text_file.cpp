// The Windows runtime's text-mode reading done by hand over a binary stream, so every build reads a
// settings file alike. Portable: stdio only.
#include "settings/text_file.h"

#include <sys/stat.h>

namespace {
constexpr int kCtrlZ = 0x1a;
}

bool OpenTextFile(TextFile* text, const char* path) {
  *text = TextFile{nullptr, nullptr, -1, -1, false, false};
  // Windows cannot open a folder as a file; POSIX systems can, and would fail only when reading.
  // (stat rather than std::filesystem, whose Windows runtime would bring wide-character calls.)
  struct stat status;
  if (stat(path, &status) == 0 && S_ISDIR(status.st_mode)) return false;
  text->file = std::fopen(path, "rb");
  return text->file != nullptr;
}

TextFile TextOfString(const char* string) { return TextFile{nullptr, string, -1, -1, false, false}; }

void CloseTextFile(TextFile* text) {
  if (text->file != nullptr) std::fclose(text->file);
  text->file = nullptr;
}

static int RawGet(TextFile* text) {
  if (text->string != nullptr) return *text->string == '\0' ? EOF : static_cast<unsigned char>(*text->string++);
  if (text->aheadByte >= 0) {
    int c = text->aheadByte;
    text->aheadByte = -1;
    return c;
  }
  int c = std::fgetc(text->file);
  if (c == EOF && std::ferror(text->file)) text->failed = true;
  return c;
}

// Text mode: Ctrl-Z is the end of the file, and a CR is dropped only when a line feed follows it.
static int TranslatedGet(TextFile* text) {
  if (text->ended) return EOF;
  if (text->string != nullptr) return RawGet(text);
  int c = RawGet(text);
  if (c == EOF || c == kCtrlZ) {
    text->ended = true;
    return EOF;
  }
  if (c != '\r') return c;
  int next = RawGet(text);
  if (next == '\n') return '\n';
  if (next != EOF) text->aheadByte = next;
  return '\r';
}

int TextGet(TextFile* text) {
  if (text->peeked >= 0) {
    int c = text->peeked;
    text->peeked = -1;
    return c;
  }
  return TranslatedGet(text);
}

int TextPeek(TextFile* text) {
  if (text->peeked < 0) {
    int c = TranslatedGet(text);
    if (c == EOF) return EOF;
    text->peeked = c;
  }
  return text->peeked;
}

bool ReadTextLine(TextFile* text, char* line, int count) {
  int length = 0;
  while (length < count - 1) {
    int c = TextGet(text);
    if (c == EOF) break;
    line[length++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  line[length] = '\0';
  return length > 0 && !text->failed;
}
