/* Ids of the setup dialog's controls, shared by the dialog template (whirlbox.rc) and the dialog
   procedure. Plain defines only, since the resource compiler reads this file too. */
#pragma once

#define IDC_BROWSE 1280
#define IDC_FACE_NAME 1281
#define IDC_FACE1 1282
#define IDC_FACE2 1283
#define IDC_FACE3 1284
#define IDC_FACE4 1285
#define IDC_FACE5 1286
#define IDC_FACE6 1287
#define IDC_SIZE_SCROLL 1288
#define IDC_SPEED_SCROLL 1289
#define IDC_FACE_LABEL 1290
#define IDC_SMALL_LABEL 1291
#define IDC_LARGE_LABEL 1292
#define IDC_SLOW_LABEL 1293
#define IDC_FAST_LABEL 1294
