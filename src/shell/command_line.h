// The role chosen from the command line, and the preview host handle it names. Pure functions of
// the argument vector, so every case is tested natively. No Windows headers.
#pragma once
#include "shell/fatal_codes.h"

enum SaverRole { kRoleSaver, kRoleSetup, kRolePreview };

// The role by the first matching prefix of argument 1, case ignored: "-C", "/C", "C" select setup,
// "-P", "/P", "P" preview; anything else, or no argument, the full-screen saver.
SaverRole ChooseRole(int argc, const char* const* argv);

// Where the preview host handle is read from, and the fatal error when no number is there.
struct PreviewHandle {
  bool found;             // a number could be read
  unsigned handle;        // the number, as "%u" reads it
  const FatalCall* fail;  // the fatal error of the rule that applied (674, 679, 684 or 689)
};

// Reads the host handle by the first rule that applies: argument 2 when there are three or more
// arguments; else the text after the first ':' of argument 1; else after its first space; else after
// its first upper-case 'P'.
PreviewHandle ReadPreviewHandle(int argc, const char* const* argv);

// Reads an unsigned number as "%u" does: leading white space skipped, an optional sign, decimal
// digits, anything after them ignored; a minus sign negates modulo 2^32. False when no digit follows.
bool ReadUnsigned(const char* text, unsigned* value);
