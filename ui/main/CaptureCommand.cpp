// Capture of running applications into the list: the capture command, the initial capture of
// an empty list, the merge and the mouse pick.
#include <cstdio>
#include <string>

#include "CaptureOptionsDialog.h"
#include "CaptureText.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "ModuleName.h"
#include "RunningAppFinder.h"
#include "SmallDialogIds.h"
#include "SystemUtilities.h"

namespace {

// The mouse capture alone never sees a click on another program's window (Wine delivers it
// to that program), so while the pick is armed a low-level hook takes the next button press,
// keeps it from the window under the cursor and posts it to the main window's handlers.
HHOOK g_pickHook = nullptr;
HWND g_pickTarget = nullptr;
bool g_pickPosted = false;

LRESULT CALLBACK PickHook(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && g_pickTarget != nullptr && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)) {
        if (!g_pickPosted) {
            g_pickPosted = true;
            ::PostMessageA(g_pickTarget, static_cast<UINT>(message), 0, 0);
        }
        return 1;
    }
    return ::CallNextHookEx(g_pickHook, code, message, data);
}

bool IsRegistered(Executant* head, const std::string& key)
{
    for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
        if (ModuleNameOf(e->FileName.Text()) == key) return true;
    }
    return false;
}

}  // namespace

void ExecutantListDialog::InitialCapture()
{
    RunningAppFinder finder;
    head = finder.FindAll(kDefaultCaptureFlags);
}

void ExecutantListDialog::OnCapture()
{
    CaptureOptionsDialog options;
    options.flags = captureFlags;
    const INT_PTR result = options.DoModal(nullptr);
    if (result != IDC_CAP_ALL && result != IDC_CAP_MOUSE) return;
    captureFlags = options.flags;

    if (result == IDC_CAP_ALL) {
        RunningAppFinder finder;
        Executant* found = finder.FindAll(captureFlags);
        if (found == nullptr) {
            AppMessageBox(CaptureText::kNothingFound);
            return;
        }
        MergeCaptured((captureFlags & LIST_REBUILD) != 0, (captureFlags & LIST_SKIP_REGISTERED) != 0, found);
        RefillList();
        return;
    }

    ::ShowWindow(Handle(), SW_SHOWMINIMIZED);
    ::SetFocus(Handle());
    ::SetCapture(Handle());
    captureArmed = true;
    g_pickTarget = Handle();
    g_pickPosted = false;
    if (g_pickHook == nullptr) g_pickHook = ::SetWindowsHookExA(WH_MOUSE_LL, PickHook, ::GetModuleHandleA(nullptr), 0);
}

void ExecutantListDialog::EndCapturePick()
{
    captureArmed = false;
    if (g_pickHook != nullptr) ::UnhookWindowsHookEx(g_pickHook);
    g_pickHook = nullptr;
    g_pickTarget = nullptr;
}

bool ExecutantListDialog::OnCaptureMouse(UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_LBUTTONDOWN: {
        // Disarmed before the release, so that losing the capture is not an interruption.
        EndCapturePick();
        ::ReleaseCapture();
        POINT cursor = {};
        if (!::GetCursorPos(&cursor)) {
            ::ShowWindow(Handle(), SW_SHOWNORMAL);
            ::SetForegroundWindow(Handle());
            AppMessageBox(CaptureText::kNoCursor);
            return true;
        }
        HWND window = ::WindowFromPoint(cursor);
        ::ShowWindow(Handle(), SW_SHOWNORMAL);
        ::SetForegroundWindow(Handle());
        if (window == nullptr) {
            AppMessageBox(CaptureText::kNoWindow);
            return true;
        }
        // A child's parent is its container, a pop-up's is its owner: the top is the application.
        for (HWND up = ::GetParent(window); up != nullptr; up = ::GetParent(window)) window = up;
        RunningAppFinder finder;
        if (Executant* found = finder.FindAtWindow(window, captureFlags)) {
            MergeCaptured((captureFlags & LIST_REBUILD) != 0, (captureFlags & LIST_SKIP_REGISTERED) != 0, found);
            RefillList();
        }
        return true;
    }
    case WM_RBUTTONDOWN:
        EndCapturePick();
        ::ReleaseCapture();
        ::ShowWindow(Handle(), SW_SHOWNORMAL);
        ::SetForegroundWindow(Handle());
        return true;
    case WM_CAPTURECHANGED:
        // Disarmed first: the message box below must not be able to start a second pick.
        EndCapturePick();
        ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
        AppMessageBox(CaptureText::kInterrupted);
        return false;
    default:
        return false;
    }
}

void ExecutantListDialog::MergeCaptured(bool rebuild, bool skipRegistered, Executant* captured)
{
    if (captured == nullptr) return;
    // Whatever the route, a list that now holds captured windows differs from its file.
    if (rebuild) {
        DeleteRing(head);
        head = captured;
        modified = true;
        return;
    }
    int candidates = 0;
    int added = 0;
    const Executant* first = captured;
    for (Executant* candidate = captured; candidate != nullptr;) {
        Executant* next = candidate->NextExecutant(first);
        ++candidates;
        if (skipRegistered && IsRegistered(head, ModuleNameOf(candidate->FileName.Text()))) {
            candidate->Unlink();
            delete candidate;
        } else if (head == nullptr) {
            head = candidate;
            modified = true;
            return;
        } else {
            candidate->Unlink();
            head->InsertBefore(candidate);
            ++added;
        }
        candidate = next;
    }
    if (added == 0) {
        AppMessageBox(candidates == 1 ? CaptureText::kOneRegistered : CaptureText::kAllRegistered);
        return;
    }
    modified = true;
    AppMessageBoxF(MB_OK | MB_ICONWARNING, added < candidates ? CaptureText::kSomeTaken : CaptureText::kAllTaken,
                   added);
}
