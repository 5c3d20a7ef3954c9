#include "CommonControls.h"

#include <windows.h>
#include <commctrl.h>

void EnsureCommonControls()
{
    static bool done = false;
    if (done) return;
    done = true;
    ::InitCommonControls();
}
