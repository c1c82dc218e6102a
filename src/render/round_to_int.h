// RoundToInt: doubles to whole pixels and milliseconds, shared by the renderer and the settings.
#pragma once
#include <climits>

// Adds 0.5 to a positive x (subtracts it from a negative one) as one double operation, then truncates
// toward zero: so 2.5 gives 3 and -2.5 gives -3, but 0.49999999999999994 also gives 1, since the sum
// is rounded to 1.0 before the truncation. 0 and not-a-number give 0; values beyond the 32-bit range
// give the nearest limit instead of undefined behaviour.
inline int RoundToInt(double x) {
  if (x < 0) {
    double shifted = x - 0.5;
    return shifted <= static_cast<double>(INT_MIN) ? INT_MIN : static_cast<int>(shifted);
  }
  if (x > 0) {
    double shifted = x + 0.5;
    return shifted >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(shifted);
  }
  return 0;  // zero and not-a-number
}
