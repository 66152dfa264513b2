// Program entry of layoutpress. The command line is not read.
#include <windows.h>

#include "layoutpress/shell/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    return run_layoutpress(instance, show);
}
