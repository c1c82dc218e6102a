// The saver's process-wide state that portable code reads: view size and role flags.
// The Windows handles live in shell/saver_handles.h.
#pragma once

extern int ViewWidth;    // drawing area: the primary screen, or the preview host's client area
extern int ViewHeight;
extern int SetupMode;    // 1 in the setup role
extern int PreviewMode;  // 1 in the preview role

// The preview turns a cube an eighth of the host's height, slowly, whatever the settings say.
constexpr int PreviewHalfEdge(int viewHeight) { return viewHeight / 8; }
constexpr int kPreviewInterval = 250;  // ms
