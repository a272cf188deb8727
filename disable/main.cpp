#include <windows.h>

#include "form1.h"
#include "start_up.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return StartApplication(&Form1); }
