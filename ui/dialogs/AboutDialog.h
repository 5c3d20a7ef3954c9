// The about box: name, version and the maker's line.
#pragma once
#include "Dialog.h"

class AboutDialog : public Dialog {
public:
    AboutDialog();
};
