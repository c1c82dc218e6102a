// The compiler's start-up code asks GetModuleHandleW and LoadLibraryW whether the shared unwinder
// DLL is loaded. Every other call of the saver is an ANSI one, so these two are answered here by
// their "A" variants: the import entries the start-up code links against resolve to these
// functions, and the program imports no wide-character call. Windows only.
#include <windows.h>

// Narrows a name that is plain ASCII (the start-up code asks for a fixed DLL name); false otherwise.
static bool NarrowAscii(LPCWSTR wide, char (&narrow)[MAX_PATH]) {
  int i = 0;
  for (; wide[i] != 0; ++i) {
    if (wide[i] > 0x7f || i + 1 >= MAX_PATH) return false;
    narrow[i] = static_cast<char>(wide[i]);
  }
  narrow[i] = '\0';
  return true;
}

static HMODULE WINAPI ModuleHandleThroughAnsi(LPCWSTR name) {
  if (name == nullptr) return GetModuleHandleA(nullptr);
  char narrow[MAX_PATH];
  if (!NarrowAscii(name, narrow)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return GetModuleHandleA(narrow);
}

static HMODULE WINAPI LoadLibraryThroughAnsi(LPCWSTR name) {
  char narrow[MAX_PATH];
  if (name == nullptr || !NarrowAscii(name, narrow)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return LoadLibraryA(narrow);
}

#ifdef _WIN64
#define WHIRLBOX_IMPORT_NAME(name, bytes) "__imp_" #name
#else
#define WHIRLBOX_IMPORT_NAME(name, bytes) "__imp__" #name "@" #bytes
#endif

extern "C" {
// The import table entries, as the linker names them for this target.
extern void* const ImportGetModuleHandleW __asm__(WHIRLBOX_IMPORT_NAME(GetModuleHandleW, 4));
extern void* const ImportLoadLibraryW __asm__(WHIRLBOX_IMPORT_NAME(LoadLibraryW, 4));
void* const ImportGetModuleHandleW = reinterpret_cast<void*>(&ModuleHandleThroughAnsi);
void* const ImportLoadLibraryW = reinterpret_cast<void*>(&LoadLibraryThroughAnsi);
}
