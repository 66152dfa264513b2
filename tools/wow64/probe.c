/* Run in a freshly made tree: a 32-bit Windows program must see 4-byte pointers and run under
   WoW64 (Wine's 64-bit loader with the 32-bit Windows DLLs). Exit code 0 when both hold. */
#include <stdio.h>
#include <windows.h>

int main(void) {
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64)) {
        wow64 = FALSE;
    }
    printf("pointer bytes %u, wow64 %d\n", (unsigned)sizeof(void*), (int)wow64);
    return sizeof(void*) == 4 && wow64 ? 0 : 1;
}
