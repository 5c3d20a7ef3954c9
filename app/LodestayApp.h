// The application object: built before the entry point, it binds the optional system
// functions; its start-up chooses and reads the settings file and hands the ring to the
// unattended start or to the main window.
#pragma once
#include <windows.h>

#include "Handles.h"
#include "StringClass.h"

class Executant;

class LodestayApp {
public:
    LodestayApp();
    virtual ~LodestayApp();
    LodestayApp(const LodestayApp&) = delete;
    LodestayApp& operator=(const LodestayApp&) = delete;

    // Always FALSE: the program runs no message loop of its own and ends afterwards.
    virtual BOOL InitInstance();

    Executant* Executants;
    StringClass SettingsPath;
    // The command line after the program name; set by the entry point.
    const char* CommandLineText;

private:
    // False when the system is unsupported; the user has been told.
    bool ChooseDefaultSettingsPath();
    void RunMainWindow();

    // The common controls, loaded for the main window only.
    LibraryHandle commonControls_;
};
