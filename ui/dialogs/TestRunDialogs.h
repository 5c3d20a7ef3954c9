// The two dialogs around a test run: how to treat the running windows and how long to wait,
// then how to end the test-launched applications.
#pragma once
#include "Dialog.h"

class TestRunDialog : public Dialog {
public:
    TestRunDialog();
    int windowTreatment;  // 0 minimise the running windows, 1 hide them
    int delayIndex;

    // The wait that belongs to a delay index; anything outside the list waits longest.
    static unsigned DelayMs(int index);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
};

class TestEndDialog : public Dialog {
public:
    TestEndDialog();
    bool postClose;
    bool postQuit;
    bool terminate;

    // The end-method bits of the three boxes.
    unsigned Methods() const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
};
