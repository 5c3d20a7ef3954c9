// Priority and control page: fields, checks and enable rules.
#include "ControlPage.h"

#include "DataExchange.h"
#include "EditorIds.h"
#include "LaunchInfoDialog.h"

namespace {
constexpr unsigned kLongestTimeout = 99999;
}

ControlPage::ControlPage() : EmbeddedPage(IDD_CONTROL_PAGE) {}

BOOL ControlPage::OnInitDialog()
{
    FillComboFromString(Handle(), IDC_CTL_CLASS, IDS_CLASS_ITEMS);
    FillComboFromString(Handle(), IDC_CTL_THREAD, IDS_THREAD_ITEMS);
    UpdateData(false);
    UpdatePageStates();
    return TRUE;
}

void ControlPage::DoDataExchange(DataExchange& dx)
{
    dx.Check(IDC_CTL_PREVENT_DUPLICATE, preventDuplicate);
    dx.Check(IDC_CTL_DISABLE_IME, disableIme);
    dx.Check(IDC_CTL_PRIORITY_GIVEN, priorityGiven);
    dx.ComboIndex(IDC_CTL_THREAD, threadIndex);
    dx.ComboIndex(IDC_CTL_CLASS, classIndex);
    dx.UInt(IDC_CTL_TIMEOUT, startupTimeout, 0, kLongestTimeout);
}

bool ControlPage::OnCommand(int id, int code, HWND)
{
    if (id != IDC_CTL_PRIORITY_GIVEN || code != BN_CLICKED) return false;
    if (UpdateData(true)) UpdatePageStates();
    return true;
}

void ControlPage::UpdatePageStates()
{
    // Until the owner has set itself, its mode counts as off; its own refresh settles it.
    const bool shell = owner != nullptr && owner->shellMode;
    ::EnableWindow(Item(IDC_CTL_CLASS), priorityGiven);
    ::EnableWindow(Item(IDC_CTL_THREAD), priorityGiven && !shell);
    ::EnableWindow(Item(IDC_CTL_PREVENT_DUPLICATE), !shell);
    ::EnableWindow(Item(IDC_CTL_DISABLE_IME), !shell && ImeSwitchAvailable());
    RecomputeTabStops();
}
