// The first page of the editor: show state, position and size of the launched window.
#pragma once
#include "EmbeddedPage.h"

class GeometryPage : public EmbeddedPage {
public:
    GeometryPage();
    void UpdatePageStates();

    bool positionGiven = false;
    bool sizeGiven = false;
    int height = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int showState = -1;  // 0 normal window, 1 minimised, 2 maximised

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
};
