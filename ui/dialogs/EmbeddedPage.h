// A page that lives inside the launch-information dialog's tab control. Pages are child
// dialogs of their own, so they link their tab order with the owner's by hand.
#pragma once
#include "Dialog.h"

class LaunchInfoDialog;

class EmbeddedPage : public Dialog {
public:
    explicit EmbeddedPage(int templateId) : Dialog(templateId) {}

    LaunchInfoDialog* owner = nullptr;
    HWND firstTabStop = nullptr;   // first enabled control in the page's tab order
    HWND lastTabStop = nullptr;    // last enabled one (the one before firstTabStop)

protected:
    void RecomputeTabStops();
    bool PreTranslateMessage(MSG* msg) override;
    // Enter and Esc inside a page must neither close the owner nor change anything.
    void OnOK() override {}
    void OnCancel() override {}
};

// Whether a launched program's input method can be switched off here at all.
bool ImeSwitchAvailable();
