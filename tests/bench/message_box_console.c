/* A second baseline: a console program that shows one message box, as every successful run of
   Tobrin must, and does nothing else. */
#include <windows.h>

int main(void) {
    MessageBoxA(NULL, "Done.", "Baseline", MB_ICONINFORMATION | MB_OK);
    return 0;
}
