// Every fatal error of the saver: its code and its message, each defined once.
// A code identifies one call site; tests check that no two sites share a code.
#pragma once

struct FatalCall {
  int code;
  const char* format;
};

// Start-up and roles.
inline constexpr FatalCall kFatalDialogBrush{649, "can't create light gray brush\nerror code %i"};
inline constexpr FatalCall kFatalSetupDialog{662, "can't load setup dialog\nerror code %i"};
inline constexpr FatalCall kFatalPreviewArg2{674, "can't get handle for preview\nfrom argv[1]='%s'\nand argv[2]='%s'"};
inline constexpr FatalCall kFatalPreviewColon{679, "can't get handle for preview\nfrom argv[1]='%s'"};
inline constexpr FatalCall kFatalPreviewSpace{684, "can't get handle for preview\nfrom argv[1]='%s'"};
inline constexpr FatalCall kFatalPreviewP{689, "can't get handle for preview\nfrom argv[1]='%s'"};
inline constexpr FatalCall kFatalPreviewBad{692, "preview handle (%u) is bad"};
inline constexpr FatalCall kFatalRegisterClass{629, "can't register class\nerror code %i"};
inline constexpr FatalCall kFatalPreviewWindow{702, "can't create window\nerror code %i"};
inline constexpr FatalCall kFatalSaverWindow{712, "can't create window\nerror code %i"};
inline constexpr FatalCall kFatalFrameTimer{720, "can't create timer\nerror code %i"};
inline constexpr FatalCall kFatalGraceTimer{723, "can't create timer\nerror code %i"};

// Saver window procedure.
inline constexpr FatalCall kFatalBeginPaint{282, "can't begin paint\nerror code %i"};

// Off-screen surfaces.
inline constexpr FatalCall kFatalSurfaceDc{589, "can't get device context\nerror code %i"};
inline constexpr FatalCall kFatalBackDc{592, "can't create first compatible device context\nerror code %i"};
inline constexpr FatalCall kFatalBackBitmap{603, "can't create first DIB section\nerror code %i"};
inline constexpr FatalCall kFatalBackSelect{
    606, "can't create select first DIB section into first compatible device context\nerror code %i"};
inline constexpr FatalCall kFatalFaceDc{609, "can't create second compatible device context\nerror code %i"};
inline constexpr FatalCall kFatalFaceBitmap{612, "can't create second DIB section\nerror code %i"};
inline constexpr FatalCall kFatalFaceSelect{
    615, "can't create select second DIB section into first compatible device context\nerror code %i"};

// Cube drawing.
inline constexpr FatalCall kFatalStretch{202, "can't paint picture into second device context\nerror code %i"};
inline constexpr FatalCall kFatalTransfer{205, "can't paint picture into first device context\nerror code %i"};
inline constexpr FatalCall kFatalFrameDc{315, "can't get device context\nerror code %i"};

// Settings file.
inline constexpr FatalCall kFatalNoSettings{551, "expected to find whirlbox.ini in folder C:\\Windows"};
inline constexpr FatalCall kFatalReadLine{555, "read error on line %i of whirlbox.ini\nexpecting a file name"};
inline constexpr FatalCall kFatalShortName{559, "null file name on line %i of whirlbox.ini"};
inline constexpr FatalCall kFatalNoDot{
    561, "expected file name on line %i of whirlbox.ini\nto end in .bmp, .gif, or .jpg but found\n%s"};
inline constexpr FatalCall kFatalBadExtension{
    569, "expected file name on line %i of whirlbox.ini\nto end in .bmp, .gif, or .jpg but found\n%s"};
inline constexpr FatalCall kFatalLoadImage{571, "can't load image %s"};
inline constexpr FatalCall kFatalWriteSettings{336, "can't write whirlbox.ini in folder C:\\Windows"};

// Setup dialog.
inline constexpr FatalCall kFatalUnknownScroll{462, "WM_HSCROLL message received from unknown control"};

inline constexpr const FatalCall* kAllFatalCalls[] = {
    &kFatalDialogBrush, &kFatalSetupDialog, &kFatalPreviewArg2, &kFatalPreviewColon, &kFatalPreviewSpace,
    &kFatalPreviewP, &kFatalPreviewBad, &kFatalRegisterClass, &kFatalPreviewWindow, &kFatalSaverWindow,
    &kFatalFrameTimer, &kFatalGraceTimer, &kFatalBeginPaint, &kFatalSurfaceDc, &kFatalBackDc,
    &kFatalBackBitmap, &kFatalBackSelect, &kFatalFaceDc, &kFatalFaceBitmap, &kFatalFaceSelect,
    &kFatalStretch, &kFatalTransfer, &kFatalFrameDc, &kFatalNoSettings, &kFatalReadLine,
    &kFatalShortName, &kFatalNoDot, &kFatalBadExtension, &kFatalLoadImage, &kFatalWriteSettings,
    &kFatalUnknownScroll,
};
