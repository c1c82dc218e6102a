/* Preloaded into the 32-bit Wine that scripts/wine32-setup.sh runs under QEMU's user-mode emulator: gives
   mmap's MAP_FIXED_NOREPLACE its meaning and fills in the trap number of fault signals. Freestanding: no
   system headers, only libc's dlsym, munmap and errno, so the host's gcc -m32 builds it without 32-bit headers. */

typedef unsigned int size32;

#define MAP_FIXED_NOREPLACE 0x100000
#define MAP_FAILED ((void*)-1)
#define EEXIST 17
#define RTLD_NEXT ((void*)-1)
#define SA_SIGINFO 4

extern void* dlsym(void* handle, const char* name);
extern int* __errno_location(void);
extern int munmap(void* address, size32 length);

typedef void* (*Mmap64Fn)(void*, size32, int, int, int, long long);
typedef void* (*MmapFn)(void*, size32, int, int, int, long);

/* QEMU 7.2 takes MAP_FIXED_NOREPLACE as a mere hint and maps elsewhere when the range is taken. Wine's
   reservation of the address space relies on the refusal: without it, it probes tens of thousands of
   times at start-up. A mapping placed elsewhere is undone and refused as the kernel would refuse it. */
static void* KeepOnlyWhereAsked(void* want, void* got, size32 length, int flags) {
  if ((flags & MAP_FIXED_NOREPLACE) == 0 || got == MAP_FAILED || got == want) return got;
  munmap(got, length);
  *__errno_location() = EEXIST;
  return MAP_FAILED;
}

void* mmap64(void* address, size32 length, int protection, int flags, int fd, long long offset) {
  static Mmap64Fn real;
  if (real == 0) real = (Mmap64Fn)dlsym(RTLD_NEXT, "mmap64");
  return KeepOnlyWhereAsked(address, real(address, length, protection, flags, fd, offset), length, flags);
}

void* mmap(void* address, size32 length, int protection, int flags, int fd, long offset) {
  static MmapFn real;
  if (real == 0) real = (MmapFn)dlsym(RTLD_NEXT, "mmap");
  return KeepOnlyWhereAsked(address, real(address, length, protection, flags, fd, offset), length, flags);
}

/* glibc's struct sigaction on i386: handler, a 1024-bit mask, flags, restorer. */
struct SignalAction {
  void* handler;
  unsigned long mask[32];
  int flags;
  void* restorer;
};
typedef int (*SigactionFn)(int, const struct SignalAction*, struct SignalAction*);
typedef void (*InfoHandler)(int, void*, void*);

enum { kSigIll = 4, kSigTrap = 5, kSigBus = 7, kSigFpe = 8, kSigSegv = 11, kSignalCount = 32 };

/* In the i386 ucontext: flags, link and a 12-byte stack record, then the 19 registers; the trap number is
   register 12. Byte 8 of siginfo is si_code. */
enum { kTrapNumberOffset = 20 + 12 * 4, kSiCodeOffset = 8 };

static InfoHandler wineHandlers[kSignalCount];

/* The trap number the processor would have reported, from the signal and its si_code. */
static int TrapFor(int signal, int code) {
  switch (signal) {
    case kSigSegv: return code == 1 || code == 2 ? 14 : 13; /* SEGV_MAPERR, SEGV_ACCERR: page fault */
    case kSigBus: return 14;
    case kSigIll: return 6;
    case kSigFpe: return code == 1 ? 0 : code == 2 ? 4 : 16; /* FPE_INTDIV, FPE_INTOVF, else x87 */
    default: return code == 2 ? 1 : 3;                       /* SIGTRAP: TRAP_TRACE, else breakpoint */
  }
}

/* QEMU 7.2 leaves the trap number at -1; Wine's fault handling (copy-on-write among it) decides by it. */
static void FillTrapNumber(int signal, void* info, void* context) {
  int* trapNumber = (int*)((char*)context + kTrapNumberOffset);
  if (*trapNumber == -1) *trapNumber = TrapFor(signal, *(int*)((char*)info + kSiCodeOffset));
  wineHandlers[signal](signal, info, context);
}

static int IsFaultSignal(int signal) {
  return signal == kSigSegv || signal == kSigBus || signal == kSigIll || signal == kSigFpe || signal == kSigTrap;
}

int sigaction(int signal, const struct SignalAction* action, struct SignalAction* old) {
  static SigactionFn real;
  if (real == 0) real = (SigactionFn)dlsym(RTLD_NEXT, "sigaction");
  /* Handlers 0 and 1 are SIG_DFL and SIG_IGN. */
  if (action == 0 || !IsFaultSignal(signal) || (action->flags & SA_SIGINFO) == 0 ||
      (unsigned long)action->handler <= 1) {
    return real(signal, action, old);
  }
  struct SignalAction wrapped = *action;
  wineHandlers[signal] = (InfoHandler)action->handler;
  wrapped.handler = (void*)FillTrapNumber;
  return real(signal, &wrapped, old);
}
