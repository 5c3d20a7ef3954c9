// Where a capture of running applications starts: its options word and the capture method.
#pragma once
#include <cstdint>

#include "Dialog.h"

class CaptureOptionsDialog : public Dialog {
public:
    CaptureOptionsDialog();

    bool ignoreProgramManager;
    bool captureMinimised;
    bool ignoreRegistered;
    bool captureUntitled;
    bool ignoreSelf;
    int listMode;  // 0 rebuild the list, 1 keep it
    bool captureDisabled;
    bool takePriority;
    bool captureZeroSize;
    bool takeSize;
    // Set by the caller; rewritten only when a capture button closes the dialog.
    std::uint32_t flags;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    // There is no OK button: Enter goes to the default button instead.
    void OnOK() override {}

private:
    void ReadWord();
    void WriteWord();
    void ApplyEnableRule();
    void CloseWith(int result);
};
