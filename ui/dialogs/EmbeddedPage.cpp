// Tab stops of a page and the keyboard hand-off to the dialog that holds it.
#include "EmbeddedPage.h"

#include "EditorIds.h"
#include "LaunchInfoDialog.h"
#include "SystemFunctions.h"

bool ImeSwitchAvailable() { return GetOsFamily() == kOsNT && Bound::ImmDisableIME != nullptr; }

void EmbeddedPage::RecomputeTabStops()
{
    // The dialog manager's walk already skips disabled controls; the bound only guards
    // against a walk that comes round without finding one.
    int guard = 256;
    firstTabStop = nullptr;
    do {
        firstTabStop = ::GetNextDlgTabItem(Handle(), firstTabStop, FALSE);
    } while (firstTabStop != nullptr && !::IsWindowEnabled(firstTabStop) && --guard > 0);
    lastTabStop = firstTabStop;
    guard = 256;
    do {
        lastTabStop = lastTabStop != nullptr ? ::GetNextDlgTabItem(Handle(), lastTabStop, TRUE) : nullptr;
    } while (lastTabStop != nullptr && !::IsWindowEnabled(lastTabStop) && --guard > 0);
}

bool EmbeddedPage::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && owner != nullptr) {
        HWND focus = ::GetFocus();
        const bool shift = ::GetKeyState(VK_SHIFT) < 0;
        if (!shift && firstTabStop != nullptr && ::GetNextDlgTabItem(Handle(), focus, FALSE) == firstTabStop) {
            owner->FocusControl(owner->Item(IDC_LI_FILE_NAME));
            return true;
        }
        if (shift && lastTabStop != nullptr && ::GetNextDlgTabItem(Handle(), focus, TRUE) == lastTabStop) {
            owner->FocusControl(owner->Item(IDC_LI_TABS));
            return true;
        }
    }
    return Dialog::PreTranslateMessage(msg);
}
