// The six face pictures decoded side by side: a small pool of threads that runs the picture readers
// while the caller goes on reading the settings file. Portable: std::thread, no Windows headers; it
// never calls Abort (only the caller's thread does) and touches no settings global.
#pragma once
#include <condition_variable>
#include <mutex>
#include <thread>

#include "render/picture_levels.h"
#include "settings/settings_file.h"

// Threads that load pictures, the one that waits for them included: 0 (the default) for one per
// processor, at most kFaceCount; 1 loads every picture on the waiting thread, one after another.
// Only benchmarks and tests set it, before loading.
extern int FaceLoadThreads;

// The pool and its six loads. Face i is queued once its name is judged; the pool's threads, and the
// thread waiting in WaitFaceLoad, take the faces in order. Once a load has failed, faces after it are not started: whatever else happens, the
// fatal error reported is about that face or an earlier line.
struct FaceLoads {
  const PictureReaders* readers;
  const char* names[kFaceCount];
  FaceFormat formats[kFaceCount];
  PackedDib* pictures[kFaceCount];  // the readers' results until taken by WaitFaceLoad
  PictureLevels levels[kFaceCount];  // the renderer's levels of each, made on the same thread
  bool loaded[kFaceCount];          // the reader succeeded (its picture may since have been freed)
  bool done[kFaceCount];            // pictures, levels and loaded hold the result
  int queued;                       // faces 0 .. queued - 1 have been queued
  int taken;                        // faces 0 .. taken - 1 have been taken by a worker
  int firstFailed;                  // the first face whose load failed, kFaceCount if none
  bool closing;                     // no more faces will be queued
  int threadCount;                  // started threads, beside the one that waits
  std::thread threads[kFaceCount];
  std::mutex lock;
  std::condition_variable changed;
};

// Starts the pool's threads (FaceLoadThreads - 1 of them); they wait for faces. readers must
// outlive the loads.
void StartFaceLoads(FaceLoads* loads, const PictureReaders* readers);

// Queues face (the next one, 0 to 5) for loading from name, which must not change until
// WaitFaceLoad(face) returns.
void QueueFaceLoad(FaceLoads* loads, int face, FaceFormat format, const char* name);

// Waits until face (already queued) has been loaded, loading faces not yet taken meanwhile, and
// hands its picture (null when its levels replaced it) and levels to the caller; false if the
// reader failed.
bool WaitFaceLoad(FaceLoads* loads, int face, PackedDib** picture, PictureLevels* levels);

// Starts no further load, lets those under way finish, ends the threads and frees every picture
// and levels not handed out. Must be called before the caller returns or ends the process.
void StopFaceLoads(FaceLoads* loads);
