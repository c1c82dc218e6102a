// RoundToInt: halves away from zero, by truncating x + 0.5 or x - 0.5.
#include "render/round_to_int.h"

#include <climits>

int RoundToInt(double x) {
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
