// The one list of the saver's fatal errors: name, code, the types the message takes, and the message.
// Each is written once, here; fatal.h makes a record of every row and the list the uniqueness test
// reads, so no error can be left out of either. A code identifies one call site.
#pragma once

// X(name, code, (argument types), message)
#define WHIRLBOX_FATAL_ERRORS(X)                                                                             \
  /* Start-up and roles. */                                                                                  \
  X(kFatalDialogBrush, 649, (int), "can't create light gray brush\nerror code %i")                           \
  X(kFatalSetupDialog, 662, (int), "can't load setup dialog\nerror code %i")                                 \
  X(kFatalPreviewArg2, 674, (const char*, const char*),                                                      \
    "can't get handle for preview\nfrom argv[1]='%s'\nand argv[2]='%s'")                                     \
  X(kFatalPreviewColon, 679, (const char*), "can't get handle for preview\nfrom argv[1]='%s'")               \
  X(kFatalPreviewSpace, 684, (const char*), "can't get handle for preview\nfrom argv[1]='%s'")               \
  X(kFatalPreviewP, 689, (const char*), "can't get handle for preview\nfrom argv[1]='%s'")                   \
  X(kFatalPreviewBad, 692, (unsigned), "preview handle (%u) is bad")                                         \
  X(kFatalRegisterClass, 629, (int), "can't register class\nerror code %i")                                  \
  X(kFatalPreviewWindow, 702, (int), "can't create window\nerror code %i")                                   \
  X(kFatalSaverWindow, 712, (int), "can't create window\nerror code %i")                                     \
  X(kFatalFrameTimer, 720, (int), "can't create timer\nerror code %i")                                       \
  X(kFatalGraceTimer, 723, (int), "can't create timer\nerror code %i")                                       \
  /* Saver window procedure. */                                                                              \
  X(kFatalBeginPaint, 282, (int), "can't begin paint\nerror code %i")                                        \
  /* Off-screen surfaces. */                                                                                 \
  X(kFatalSurfaceDc, 589, (int), "can't get device context\nerror code %i")                                  \
  X(kFatalBackDc, 592, (int), "can't create first compatible device context\nerror code %i")                 \
  X(kFatalBackBitmap, 603, (int), "can't create first DIB section\nerror code %i")                           \
  X(kFatalBackSelect, 606, (int),                                                                            \
    "can't create select first DIB section into first compatible device context\nerror code %i")             \
  X(kFatalFaceDc, 609, (int), "can't create second compatible device context\nerror code %i")                \
  X(kFatalFaceBitmap, 612, (int), "can't create second DIB section\nerror code %i")                          \
  X(kFatalFaceSelect, 615, (int),                                                                            \
    "can't create select second DIB section into first compatible device context\nerror code %i")            \
  /* Cube drawing. */                                                                                        \
  X(kFatalStretch, 202, (int), "can't paint picture into second device context\nerror code %i")              \
  X(kFatalTransfer, 205, (int), "can't paint picture into first device context\nerror code %i")              \
  X(kFatalFrameDc, 315, (int), "can't get device context\nerror code %i")                                    \
  /* Settings file. */                                                                                       \
  X(kFatalNoSettings, 551, (), "expected to find whirlbox.ini in folder C:\\Windows")                        \
  X(kFatalReadLine, 555, (int), "read error on line %i of whirlbox.ini\nexpecting a file name")              \
  X(kFatalShortName, 559, (int), "null file name on line %i of whirlbox.ini")                                \
  X(kFatalNoDot, 561, (int, const char*),                                                                    \
    "expected file name on line %i of whirlbox.ini\nto end in .bmp, .gif, or .jpg but found\n%s")            \
  X(kFatalBadExtension, 569, (int, const char*),                                                             \
    "expected file name on line %i of whirlbox.ini\nto end in .bmp, .gif, or .jpg but found\n%s")            \
  X(kFatalLoadImage, 571, (const char*), "can't load image %s")                                              \
  X(kFatalWriteSettings, 336, (), "can't write whirlbox.ini in folder C:\\Windows")                          \
  /* Setup dialog. */                                                                                        \
  X(kFatalUnknownScroll, 462, (), "WM_HSCROLL message received from unknown control")                        \
  /* The X11 hack's view. */                                                                                 \
  X(kFatalViewMemory, 806, (int, int), "not enough memory for a %ix%i view")                                 \
  X(kFatalViewImage, 809, (int, int), "can't create the window's %ix%i image")
