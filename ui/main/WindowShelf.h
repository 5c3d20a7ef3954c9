// The windows a test run puts out of the way and brings back afterwards.
#pragma once

// Minimises (hide false) or hides every visible unowned top-level window with a size, except
// the shell's own; 0, or -1 when the windows could not be enumerated (nothing touched).
int ShelveWindows(bool hide);
// Brings back every shelved window as it was and empties the shelf; 0.
int RestoreShelvedWindows();
