#include "TestRunDialogs.h"

#include "DataExchange.h"
#include "SmallDialogIds.h"

namespace {
constexpr UINT_PTR kFlashTimer = 1;
}

TestRunDialog::TestRunDialog() : Dialog(IDD_TEST_RUN), windowTreatment(-1), delayIndex(-1) {}

unsigned TestRunDialog::DelayMs(int index)
{
    static const unsigned kDelays[] = {500, 1000, 2000, 4000, 6000, 8000};
    return index >= 0 && index < 6 ? kDelays[index] : 10000;
}

void TestRunDialog::DoDataExchange(DataExchange& dx)
{
    dx.Radio(IDC_TR_MINIMISE, windowTreatment);
    dx.ComboIndex(IDC_TR_DELAY, delayIndex);
}

BOOL TestRunDialog::OnInitDialog()
{
    FillComboFromString(Handle(), IDC_TR_DELAY, IDS_DELAY_ITEMS);
    windowTreatment = 0;
    delayIndex = 1;
    UpdateData(false);
    return TRUE;
}

TestEndDialog::TestEndDialog() : Dialog(IDD_TEST_END), postClose(false), postQuit(false), terminate(false) {}

unsigned TestEndDialog::Methods() const { return (postClose ? 1u : 0u) | (postQuit ? 2u : 0u) | (terminate ? 4u : 0u); }

void TestEndDialog::DoDataExchange(DataExchange& dx)
{
    dx.Check(IDC_TE_POST_CLOSE, postClose);
    dx.Check(IDC_TE_POST_QUIT, postQuit);
    dx.Check(IDC_TE_TERMINATE, terminate);
}

BOOL TestEndDialog::OnInitDialog()
{
    postClose = false;
    postQuit = true;
    terminate = false;
    UpdateData(false);
    // The other windows are put away and the test applications may cover the screen: this
    // dialog must stay findable until the user answers.
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(Handle());
    ::SetTimer(Handle(), kFlashTimer, 1000, nullptr);
    return TRUE;
}

bool TestEndDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&)
{
    if (message == WM_TIMER && wParam == kFlashTimer) ::FlashWindow(Handle(), TRUE);
    // The timer dies with the window; the tick still gets its default processing.
    return false;
}
