// The pool that decodes the face pictures side by side. Portable: std::thread, no Windows headers.
// Never calls Abort and touches no global but FaceLoadThreads: the readers it runs share no mutable
// state (each load has its own file, its own libjpeg decompressor and its own GIF problem hook).
#include "settings/face_loads.h"

#include <cstdlib>
#include <system_error>

#include "render/face_levels.h"

int FaceLoadThreads = 0;

static int PoolSize() {
  int threads = FaceLoadThreads > 0 ? FaceLoadThreads : static_cast<int>(std::thread::hardware_concurrency());
  if (threads < 1) threads = 1;  // hardware_concurrency is 0 when the count is unknown
  return threads < kFaceCount ? threads : kFaceCount;
}

// Takes the next queued face and loads it with the lock released, its levels made at once so the
// first frame waits for no pass of its own; false if none is waiting. A face after a failed one is
// marked done without being loaded.
static bool LoadNextFace(FaceLoads* loads, std::unique_lock<std::mutex>& held) {
  if (loads->taken == loads->queued) return false;
  const int face = loads->taken++;
  PackedDib* picture = nullptr;
  PictureLevels levels{};
  bool loaded = false;
  if (face < loads->firstFailed) {
    held.unlock();
    loaded = LoadFacePicture(*loads->readers, loads->formats[face], loads->names[face], &picture, &levels);
    held.lock();
    if (!loaded && face < loads->firstFailed) loads->firstFailed = face;
  }
  loads->pictures[face] = picture;
  loads->levels[face] = levels;
  loads->loaded[face] = loaded;
  loads->done[face] = true;
  loads->changed.notify_all();
  return true;
}

// One of the pool's threads: loads faces until the pool closes.
static void LoadFaces(FaceLoads* loads) {
  std::unique_lock<std::mutex> held(loads->lock);
  for (;;) {
    loads->changed.wait(held, [loads] { return loads->taken < loads->queued || loads->closing; });
    if (loads->closing) return;
    LoadNextFace(loads, held);
  }
}

void StartFaceLoads(FaceLoads* loads, const PictureReaders* readers) {
  loads->readers = readers;
  for (int i = 0; i < kFaceCount; ++i) {
    loads->names[i] = nullptr;
    loads->formats[i] = kFaceNoFormat;
    loads->pictures[i] = nullptr;
    loads->levels[i] = PictureLevels{};
    loads->loaded[i] = false;
    loads->done[i] = false;
  }
  loads->queued = loads->taken = 0;
  loads->firstFailed = kFaceCount;
  loads->closing = false;
  // The thread that waits for the pictures loads too, so a thread the system refuses only costs
  // speed: the pool goes on with the threads it got (std::thread reports a refusal by throwing).
  const int wanted = PoolSize() - 1;
  loads->threadCount = 0;
  while (loads->threadCount < wanted) {
    try {
      loads->threads[loads->threadCount] = std::thread(LoadFaces, loads);
    } catch (const std::system_error&) {
      break;
    }
    ++loads->threadCount;
  }
}

void QueueFaceLoad(FaceLoads* loads, int face, FaceFormat format, const char* name) {
  std::lock_guard<std::mutex> held(loads->lock);
  loads->names[face] = name;
  loads->formats[face] = format;
  loads->queued = face + 1;
  loads->changed.notify_all();
}

bool WaitFaceLoad(FaceLoads* loads, int face, PackedDib** picture, PictureLevels* levels) {
  std::unique_lock<std::mutex> held(loads->lock);
  // The waiting thread is one of the loaders too: it takes faces no other thread has taken yet.
  while (!loads->done[face]) {
    if (!LoadNextFace(loads, held)) loads->changed.wait(held);
  }
  *picture = loads->pictures[face];
  *levels = loads->levels[face];
  loads->pictures[face] = nullptr;
  loads->levels[face] = PictureLevels{};
  return loads->loaded[face];
}

void StopFaceLoads(FaceLoads* loads) {
  {
    std::lock_guard<std::mutex> held(loads->lock);
    loads->closing = true;
    loads->changed.notify_all();
  }
  for (int t = 0; t < loads->threadCount; ++t) loads->threads[t].join();
  loads->threadCount = 0;
  for (int i = 0; i < kFaceCount; ++i) {
    std::free(loads->pictures[i]);
    loads->pictures[i] = nullptr;
    FreePictureLevels(&loads->levels[i]);
  }
}
