#pragma once
// <windows.h> without the macros that clash with the runtime's own names (RGB,
// DeleteFile, DrawText). Every Win32 source includes this instead of <windows.h>.

#include <windows.h>

#undef RGB
#undef DeleteFile
#undef DrawText
