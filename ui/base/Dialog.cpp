// The dialog class: template, own modal loop, message routing and dispatch.
#include "Dialog.h"

#include <string>

#include "CommonControls.h"
#include "DataExchange.h"

namespace {
// Marks our dialog windows; a window property cannot collide with what a template or the
// system stores in the window's extra bytes.
constexpr char kDialogProperty[] = "Lodestay.Dialog";
}  // namespace

Dialog::Dialog(int templateId) : templateId_(templateId), hwnd_(nullptr), ended_(false), result_(-1) {}

Dialog::~Dialog()
{
    if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
}

Dialog* Dialog::FromHandle(HWND window)
{
    return window != nullptr ? static_cast<Dialog*>(::GetPropA(window, kDialogProperty)) : nullptr;
}

INT_PTR Dialog::DoModal(HWND owner)
{
    if (owner == nullptr) {
        owner = ::GetActiveWindow();
        if (owner != nullptr) owner = ::GetAncestor(owner, GA_ROOT);
    }
    // Templates may hold list views and tab controls: their classes must exist first.
    EnsureCommonControls();
    ended_ = false;
    result_ = -1;
    HWND window = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                                       DialogProc, reinterpret_cast<LPARAM>(this));
    if (window == nullptr) return -1;

    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);
    if (!ended_ && !::IsWindowVisible(window)) ::ShowWindow(window, SW_SHOWNORMAL);

    MSG msg;
    while (!ended_) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to the outermost loop: hand it on and leave.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            if (result_ == -1) result_ = IDCANCEL;
            break;
        }
        if (got == -1) break;
        if (!RouteMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    // Re-enable the owner before the dialog goes, or the system activates another program.
    if (disableOwner) ::EnableWindow(owner, TRUE);
    if (owner != nullptr && ::GetActiveWindow() == window) ::SetActiveWindow(owner);
    if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
    return result_;
}

HWND Dialog::CreateEmbedded(HWND parent)
{
    EnsureCommonControls();
    ended_ = false;
    return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                                reinterpret_cast<LPARAM>(this));
}

void Dialog::EndDialog(INT_PTR result)
{
    result_ = result;
    ended_ = true;
    // Wakes the loop when the call came from outside any message of this thread.
    if (hwnd_ != nullptr) ::PostMessageA(hwnd_, WM_NULL, 0, 0);
}

bool Dialog::UpdateData(bool save)
{
    DataExchange dx(hwnd_, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

bool Dialog::RouteMessage(MSG* msg)
{
    // Innermost first: a page sees its controls' keys before the dialog that holds it.
    for (HWND w = msg->hwnd; w != nullptr; w = ::GetAncestor(w, GA_PARENT)) {
        if (Dialog* dialog = FromHandle(w)) {
            if (dialog->PreTranslateMessage(msg)) return true;
        }
        if (w == hwnd_) return false;
    }
    // Messages for other windows of the thread still reach this dialog's accelerators.
    return hwnd_ != nullptr && PreTranslateMessage(msg);
}

BOOL Dialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void Dialog::DoDataExchange(DataExchange&) {}
bool Dialog::OnCommand(int, int, HWND) { return false; }
bool Dialog::OnNotify(NMHDR*, LRESULT&) { return false; }
bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

bool Dialog::PreTranslateMessage(MSG* msg)
{
    return hwnd_ != nullptr && ::IsDialogMessageA(hwnd_, msg) != FALSE;
}

void Dialog::OnOK()
{
    if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = window;
        ::SetPropA(window, kDialogProperty, self);
    } else {
        self = FromHandle(window);
    }
    return self != nullptr ? self->Dispatch(message, wParam, lParam) : FALSE;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result = 0;
    if (OnMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (OnCommand(id, code, reinterpret_cast<HWND>(lParam))) return TRUE;
        if (code == BN_CLICKED && id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (code == BN_CLICKED && id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        LRESULT answer = 0;
        if (!OnNotify(reinterpret_cast<NMHDR*>(lParam), answer)) return FALSE;
        ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    case WM_NCDESTROY:
        ::RemovePropA(hwnd_, kDialogProperty);
        hwnd_ = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void FillComboFromString(HWND dialog, int comboId, int stringId)
{
    char text[512] = "";
    ::LoadStringA(::GetModuleHandleA(nullptr), stringId, text, sizeof(text));
    std::string items(text);
    size_t start = 0;
    while (start <= items.size() && !items.empty()) {
        const size_t end = items.find('\n', start);
        const std::string item = items.substr(start, end == std::string::npos ? std::string::npos : end - start);
        ::SendDlgItemMessageA(dialog, comboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (end == std::string::npos) break;
        start = end + 1;
    }
}
