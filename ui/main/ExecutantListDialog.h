// The main window: the application list with its marks and icons, the list commands, the
// file commands, launching, help, capture of running applications and the test run.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Dialog.h"

class Executant;

// Options of a capture of running applications.
enum CaptureFlagBits : std::uint32_t {
    CAPTURE_OWNED = 0x00000002,
    CAPTURE_UNTITLED = 0x00000004,
    CAPTURE_ZERO_SIZE = 0x00000008,
    CAPTURE_DISABLED = 0x00000010,
    CAPTURE_HIDDEN = 0x00000020,
    CAPTURE_ICONIC = 0x00000040,
    TAKE_SIZE = 0x00000100,
    TAKE_PRIORITY = 0x00000200,
    SKIP_PROGMAN = 0x00000400,
    SKIP_SELF = 0x00000800,
    LIST_REBUILD = 0x10000000,
    LIST_SKIP_REGISTERED = 0x20000000,
};
constexpr std::uint32_t kDefaultCaptureFlags = 0x20000D50;

class ExecutantListDialog : public Dialog {
public:
    ExecutantListDialog();
    ~ExecutantListDialog() override;

    void RefillList();
    void AddRow(HIMAGELIST icons, Executant* executant);
    int GetSelection(std::vector<Executant*>& selection);
    void Reselect(const std::vector<Executant*>& selection);
    void UpdateButtons();
    void MoveUp() { Move(true); }
    void MoveDown() { Move(false); }
    void DeleteSelected();
    void SelectAll();
    void Deselect();

    // Commands of the menu, the buttons and the keys.
    void OnLoad();
    bool OnSave();
    void OnChooseFileName();
    void OnExit();
    void OnAdd();
    void OnEditEntry();
    void OnLaunchSelected();
    void OnLaunchAll();
    void OnHelp();
    void OnAbout();

    // Capture of running applications (CaptureCommand.cpp).
    void OnCapture();
    void InitialCapture();
    void MergeCaptured(bool rebuild, bool skipRegistered, Executant* captured);
    // The mouse pick's handlers; false lets the message take its default path.
    bool OnCaptureMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void EndCapturePick();

    // The test run (TestRunCommand.cpp).
    void OnTestRun();

    std::string settingsFileName;
    Executant* head;           // the list; the window owns it while it runs
    bool modified;
    bool captureArmed;
    std::uint32_t captureFlags;

    HWND List() const { return Item(1000); }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool PreTranslateMessage(MSG* msg) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;

private:
    void Move(bool up);
    bool ChooseSettingsFile(bool open, std::string* chosen);
    void RebuildReversed(const std::vector<Executant*>& selection);
    void FinishMove(const std::vector<Executant*>& selection);
    void LockDrawing(bool lock);
    // True when the list may be written over the file it came from (asks when it is incomplete).
    bool MayReplaceFile();
    // The name as a full path, or unchanged when the system cannot resolve it.
    static std::string FullPath(const std::string& name);
    // The same text for every name of one file: full path, ASCII letters folded.
    static std::string FileKey(const std::string& name);

public:
    // Start-up and load tell the window whether the list is all that the file holds.
    void SetLoadedFile(const std::string& path, bool complete);

private:

    HICON icon_;
    HACCEL accelerators_;
    // Image index of each program file in the icon list being filled.
    std::map<std::string, int> iconCache_;
    HIMAGELIST cachedIcons_;
    int redrawLocks_;
    // FileKey of the file the list came from, when that could not be read whole.
    std::string incompleteFile_;
};
