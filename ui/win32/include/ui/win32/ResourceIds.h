#pragma once

// Resource ids shared by Tessaro.rc and the C++ code. The application icon has
// the lowest id, so Explorer shows it for the exe.
#define IDI_APP 1
#define IDI_WINDOW 2
#define IDI_TRAY 3
#define IDI_IMAGE1 4
