// A modal dialog built from a resource template, or a page embedded in another dialog.
// The modal loop is our own so that each dialog can look at messages before the dialog
// manager does (accelerators, keyboard hand-off); it only ever offers messages to the
// dialogs of the loop that runs, so a parent's accelerators stay quiet while a child runs.
#pragma once
#include <windows.h>
#include <commctrl.h>

class DataExchange;

class Dialog {
public:
    explicit Dialog(int templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog until EndDialog. With no owner given, the top-level window that is
    // active now owns it, so the owner stays disabled meanwhile. -1 when it could not open.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog as a child window of parent (a page); null on failure.
    HWND CreateEmbedded(HWND parent);
    void EndDialog(INT_PTR result);
    // Moves the fields into the controls (save false) or the controls into the fields with
    // validation (save true); false when a control was invalid (explained, focused).
    bool UpdateData(bool save);

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
    bool IsRunning() const { return hwnd_ != nullptr && !ended_; }
    // The dialog object of a window, or null for windows that are not ours.
    static Dialog* FromHandle(HWND window);

protected:
    // Default: load the fields into the controls; TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    // True when handled. OK and Cancel clicks that are not handled go to OnOK / OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    virtual bool OnNotify(NMHDR* header, LRESULT& result);
    // Before the dialog manager sees a message of this dialog or its controls; true
    // consumes it. Default: the dialog manager's keyboard handling.
    virtual bool PreTranslateMessage(MSG* msg);
    // Any message before the handlers above; true with the dialog procedure's answer.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnDestroy() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool RouteMessage(MSG* msg);

    int templateId_;
    HWND hwnd_;
    bool ended_;
    INT_PTR result_;
};

// Adds the combo-box items kept in a string resource, one per line, in order.
void FillComboFromString(HWND dialog, int comboId, int stringId);
// Sets a control's text from Shift-JIS bytes.
inline void SetItemText(HWND dialog, int id, const char* text) { ::SetDlgItemTextA(dialog, id, text); }
