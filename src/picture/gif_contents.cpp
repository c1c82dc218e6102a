// Creation, growth and reference-counted release of the parsed GIF records.
// Depends on the records alone: no parsing, no decoding, no pictures.
#include "picture/gif_contents.h"

#include <cstdint>
#include <cstdlib>

int64_t GifLargestBlock = INT32_MAX;

static bool SizeAllowed(int64_t size) {
  return size >= 0 && size <= GifLargestBlock && static_cast<uint64_t>(size) <= SIZE_MAX;
}

void* GifAllocate(int64_t size) {
  if (!SizeAllowed(size)) return nullptr;
  return std::malloc(size > 0 ? static_cast<size_t>(size) : 1);
}

void* GifAllocateZeroed(int64_t size) {
  if (!SizeAllowed(size)) return nullptr;
  return std::calloc(size > 0 ? static_cast<size_t>(size) : 1, 1);
}

GifContents* NewGifContents() {
  GifContents* contents = static_cast<GifContents*>(GifAllocateZeroed(sizeof(GifContents)));
  if (contents != nullptr) contents->loopCount = -1;
  return contents;
}

GifFrame* NewGifFrame() {
  GifFrame* frame = static_cast<GifFrame*>(GifAllocateZeroed(sizeof(GifFrame)));
  if (frame != nullptr) frame->transparent = -1;
  return frame;
}

GifPalette* NewGifPalette(int n) {
  GifPalette* palette = static_cast<GifPalette*>(GifAllocateZeroed(sizeof(GifPalette)));
  if (palette == nullptr) return nullptr;
  palette->entries = static_cast<GifColor*>(GifAllocateZeroed(static_cast<int64_t>(n) * sizeof(GifColor)));
  if (palette->entries == nullptr) {
    std::free(palette);
    return nullptr;
  }
  palette->count = n;
  palette->capacity = n;
  palette->refs = 1;
  return palette;
}

// Grows an array of count elements to capacity 2, or doubles it; false (array unchanged) on failure.
static bool GrowArray(void** array, int32_t* capacity, int64_t elementSize) {
  int64_t grown = *capacity == 0 ? 2 : static_cast<int64_t>(*capacity) * 2;
  if (grown > INT32_MAX || !SizeAllowed(grown * elementSize)) return false;
  void* bigger = std::realloc(*array, static_cast<size_t>(grown * elementSize));
  if (bigger == nullptr) return false;
  *array = bigger;
  *capacity = static_cast<int32_t>(grown);
  return true;
}

bool AddFrame(GifContents* contents, GifFrame* frame) {
  if (contents->frameCount == contents->frameCapacity) {
    void* array = contents->frames;
    if (!GrowArray(&array, &contents->frameCapacity, sizeof(GifFrame*))) return false;
    contents->frames = static_cast<GifFrame**>(array);
  }
  contents->frames[contents->frameCount++] = frame;
  frame->refs += 1;
  return true;
}

bool AddComment(CommentList* list, char* text, int32_t length) {
  if (list->count == list->capacity) {
    // Both arrays grow to the same capacity; the shared capacity changes only when both did.
    int32_t textCapacity = list->capacity;
    int32_t lengthCapacity = list->capacity;
    void* texts = list->texts;
    void* lengths = list->lengths;
    bool grewTexts = GrowArray(&texts, &textCapacity, sizeof(char*));
    list->texts = static_cast<char**>(texts);
    if (!grewTexts || !GrowArray(&lengths, &lengthCapacity, sizeof(int32_t))) return false;
    list->lengths = static_cast<int32_t*>(lengths);
    list->capacity = textCapacity;
  }
  list->texts[list->count] = text;
  list->lengths[list->count] = length;
  list->count += 1;
  return true;
}

void ReleaseComments(CommentList* list) {
  if (list == nullptr) return;
  for (int32_t i = 0; i < list->count; ++i) std::free(list->texts[i]);
  std::free(list->texts);
  std::free(list->lengths);
  std::free(list);
}

void ReleasePalette(GifPalette* palette) {
  if (palette == nullptr || --palette->refs > 0) return;
  std::free(palette->entries);
  std::free(palette);
}

void ReleaseFrame(GifFrame* frame) {
  if (frame == nullptr || --frame->refs > 0) return;
  std::free(frame->name);
  ReleaseComments(frame->comments);
  ReleasePalette(frame->localPalette);
  std::free(frame->rows);
  std::free(frame->pixels);
  std::free(frame);
}

void ReleaseGif(GifContents* contents) {
  if (contents == nullptr || --contents->refs > 0) return;
  ReleasePalette(contents->globalPalette);
  ReleaseComments(contents->endComments);
  for (int32_t i = 0; i < contents->frameCount; ++i) ReleaseFrame(contents->frames[i]);
  std::free(contents->frames);
  StoredExtension* extension = contents->extensions;
  while (extension != nullptr) {
    StoredExtension* next = extension->next;
    std::free(extension->name);
    std::free(extension->data);
    std::free(extension);
    extension = next;
  }
  std::free(contents);
}
