// The editor of one executant: program, working directory, arguments, and on two pages the
// window geometry and the priority and control settings. It changes the executant only on OK.
#pragma once
#include <string>

#include "ControlPage.h"
#include "Dialog.h"
#include "GeometryPage.h"

class Executant;

class LaunchInfoDialog : public Dialog {
public:
    LaunchInfoDialog();

    void RefreshProgramIcon();
    void UpdateControlStates();
    // Finds the program the shell opens a document with; empty when there is none.
    void FindProgramForDocument(const char* path);
    // Moves the focus as the dialog manager does for a tab stop.
    void FocusControl(HWND control);

    Executant* executant = nullptr;  // edited in place on OK; not owned
    std::string fileName;
    std::string workingDirectory;
    std::string arguments;
    bool shellMode = false;
    HICON largeIcon = nullptr;
    HICON smallIcon = nullptr;
    GeometryPage geometryPage;
    ControlPage controlPage;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool PreTranslateMessage(MSG* msg) override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void ReadExecutant();
    void WriteExecutant();
    void ShowPage(int index);
    EmbeddedPage& CurrentPage();
    // The open-file dialog of this editor; true with the chosen path on OK.
    bool ChooseFile(const char* filter, const char* initialFile, const char* initialFolder, std::string* path);
    void OnBrowseProgram();
    void OnQuickLaunch();
    void OnShellDocument();
    void OnBrowseDirectory();
    // Takes a program chosen with a file dialog: name, folder, controls and icon.
    void TakeProgram(const std::string& path);
    void DestroyIcons();

    bool opened_ = false;
};

// The Quick Launch folder of the user, or the current directory when there is none.
std::string FindQuickLaunchFolder();
// Reads a text value of at most size-1 bytes; false for a missing, longer or non-text value.
bool ReadRegistryText(HKEY root, const char* key, const char* name, char* text, DWORD size);
