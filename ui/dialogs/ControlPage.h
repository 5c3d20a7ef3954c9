// The second page of the editor: priority, duplicate guard, input method and time-out.
#pragma once
#include "EmbeddedPage.h"

class ControlPage : public EmbeddedPage {
public:
    ControlPage();
    // Applies every enable rule of the page; the shell-mode rows read the owner's mode.
    void UpdatePageStates();

    bool preventDuplicate = false;
    bool disableIme = false;
    bool priorityGiven = false;
    int threadIndex = -1;
    int classIndex = -1;
    unsigned startupTimeout = 0;  // milliseconds

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
};
