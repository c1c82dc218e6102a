// Definitions of the saver's portable process-wide state; start-up fills them.
#include "shell/saver_state.h"

int ViewWidth = 0;
int ViewHeight = 0;
int SetupMode = 0;
int PreviewMode = 0;
