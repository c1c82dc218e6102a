// The two drawing surfaces. Empty until the platform layer (CreateBackBuffers on Windows,
// AllocateSurface natively) gives them pixel memory. No platform headers.
#include "render/surface.h"

Surface BackSurface = {nullptr, 0, 0, 0};
Surface FaceSurface = {nullptr, 0, 0, 0};
