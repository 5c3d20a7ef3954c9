// The bulk capture and its merge, the mouse pick and the test run against test-application
// windows of other processes, with the main window of this process, in the test desktop.
// Under Wine GetWindowPlacement on another process's window gives its current rectangle as
// the restored one, so positions of minimised and maximised windows are not compared; their
// show states are.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>

#include "CaptureText.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "MainWindowIds.h"
#include "ModuleName.h"
#include "SettingsFile.h"
#include "SmallDialogIds.h"
#include "SystemFunctions.h"
#include "TestRunDialogs.h"  // the end dialog's methods
#include "UiScript.h"
#include "WinTestSupport.h"

namespace {

HWND g_thief = nullptr;
// A timer procedure must be stdcall, which a lambda is not on 32-bit Windows.
void CALLBACK StealCapture(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::SetCapture(g_thief);
}

// The entries whose module name starts with prefix, by name.
std::map<std::string, Executant*> Entries(Executant* head, const char* prefix)
{
    std::map<std::string, Executant*> found;
    for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
        const std::string name = ModuleNameOf(e->FileName.Text());
        if (name.rfind(prefix, 0) == 0) found[name] = e;
    }
    return found;
}
std::string Names(Executant* head, const char* prefix)
{
    std::string names;
    for (const auto& entry : Entries(head, prefix)) names += entry.first + " ";
    return names;
}

class CaptureEndToEnd : public ::testing::Test {
protected:
    void TearDown() override { DeleteRing(window.head); }
    // A test-application copy named `name`; its visible unowned window, if it has one.
    HWND Start(const std::string& name, const std::string& options = "", int show = SW_SHOWNORMAL)
    {
        apps_.push_back(StartTestAppCopy(folder_.File(name + ".exe"), folder_.File(name + ".txt"),
                                         "--title " + name + " " + options));
        HWND w = WindowOfProcess(apps_.back().Id(), true);
        if (w != nullptr && show != SW_SHOWNORMAL) ::ShowWindow(w, show);
        return w;
    }
    void Run(UiScript& script)
    {
        script.Then([this] {
            window.EndDialog(IDOK);
            return true;
        }).Start();
        ASSERT_EQ(IDOK, window.DoModal(nullptr));
    }
    // Sends `command` to the main window (none for 0), then acts in the dialog of this thread
    // that holds `control` once it is up, and presses `button` there.
    void InDialog(UiScript& script, int command, int control, std::function<void(HWND)> act, int button)
    {
        if (command != 0) script.Then([=] { return ::PostMessageA(window.Handle(), WM_COMMAND, command, 0) != FALSE; });
        script.Then([=] {
            HWND d = ::GetActiveWindow();
            if (d == nullptr || ::GetDlgItem(d, control) == nullptr) return false;
            act(d);
            return ::PostMessageA(d, WM_COMMAND, button, 0) != FALSE;
        });
    }
    // Opens the capture options and presses 一括 with the list mode `radio`.
    void BulkCapture(UiScript& script, int radio, bool priority)
    {
        InDialog(script, IDC_CAPTURE, IDC_CAP_ALL, [=](HWND d) {
            ::CheckDlgButton(d, IDC_CAP_TAKE_PRIORITY, priority ? BST_CHECKED : BST_UNCHECKED);
            ::CheckRadioButton(d, IDC_CAP_REBUILD, IDC_CAP_KEEP, radio);
        }, IDC_CAP_ALL);
    }
    TempFolder folder_{"capture"};
    std::vector<ChildProcess> apps_;
    ExecutantListDialog window;
};

// Also run as a copy of this program for which Wine reports Windows 98.
TEST_F(CaptureEndToEnd, BulkCaptureTakesWhatTheFilterAcceptsAndMergesAsAsked)
{
    // The Windows 98 run says so, so that it cannot pass on the NT route unnoticed.
    if (const char* family = std::getenv("LODESTAY_EXPECT_FAMILY")) {
        ASSERT_EQ(std::atoi(family), GetOsFamily());
    }
    const bool family95 = GetOsFamily() == kOsWin95;
    ASSERT_NE(nullptr, Start("cap_normal", "--fixed 40,50,320,240"));
    ::SetPriorityClass(apps_.back().Get(), HIGH_PRIORITY_CLASS);
    Start("cap_min", "", SW_MINIMIZE);
    Start("cap_max", "", SW_MAXIMIZE);
    ::EnableWindow(Start("cap_off"), FALSE);
    Start("cap_hidden", "--hidden");
    const std::string accepted = "cap_max.exe cap_min.exe cap_normal.exe cap_off.exe ";

    UiScript script;
    // Opened on an empty list, the window filled it by the initial capture, unmodified.
    script.Then([&] {
        auto found = Entries(window.head, "cap_");
        EXPECT_EQ(accepted, Names(window.head, "cap_"));
        EXPECT_EQ("", Names(window.head, "lodestay_ui_tests"));
        EXPECT_FALSE(window.modified);
        Executant* e = found["cap_normal.exe"];
        EXPECT_EQ((std::vector<int>{1, 40, 50, 320, 240, 1, 0, 2, 3}),
                  (std::vector<int>{e->SettingNumber(kKeyShowMode), e->PositionX, e->PositionY, e->Width, e->Height,
                                    e->HasSize, static_cast<int>(e->Priority),
                                    found["cap_min.exe"]->SettingNumber(kKeyShowMode),
                                    found["cap_max.exe"]->SettingNumber(kKeyShowMode)}));
        // The 95 family's snapshot names the program without its folder.
        EXPECT_STRCASEEQ(family95 ? "cap_normal.exe" : folder_.File("cap_normal.exe").c_str(), e->FileName.Text());
        EXPECT_STRCASEEQ(family95 ? "" : folder_.Path().c_str(), e->SettingText(kKeyPath).Text());
        if (e == window.head) window.head = e->NextExecutant(window.head);
        e->Unlink();
        delete e;
        // A row selected before the capture: the refill drops it, the buttons must follow.
        ListView_SetItemState(window.List(), 0, LVIS_SELECTED, LVIS_SELECTED);
        return true;
    });
    // One registered module gone: only it comes back, with its priority class.
    BulkCapture(script, IDC_CAP_KEEP, true);
    script.Answer(IDOK).Then([&] {
        EXPECT_EQ("既に登録済みのモジュールを除いて 1 件取り込みました.", script.Boxes().back().text);
        Executant* last = static_cast<Executant*>(window.head->Prev());
        EXPECT_EQ("cap_normal.exe", ModuleNameOf(last->FileName.Text()));
        EXPECT_EQ(0x30u, last->Priority);
        EXPECT_TRUE(window.modified);
        EXPECT_FALSE(::IsWindowEnabled(window.Item(IDC_EDIT_ENTRY)) || ::IsWindowEnabled(window.Item(IDC_DELETE)));
        window.modified = false;
        return true;
    });
    BulkCapture(script, IDC_CAP_KEEP, false);
    script.Answer(IDOK).Then([&] {
        EXPECT_EQ("既にﾘｽﾄに登録済みのモジュールですので、１件も取り込みませんでした.", script.Boxes().back().text);
        return !window.modified;
    });
    // Rebuild replaces the list silently, and marks it changed.
    BulkCapture(script, IDC_CAP_REBUILD, false);
    script.Then([&] { return window.modified; }).Then([&] {
        EXPECT_EQ(accepted, Names(window.head, "cap_"));
        EXPECT_EQ(2u, script.Boxes().size());
        return true;
    });
    Run(script);

    // A captured place comes back exactly through the saved list and the unattended start (at
    // 150 % in the scaled run). Without a folder, as the 95 family captures, it is not found.
    if (family95) return;
    std::unique_ptr<Executant> captured(Entries(window.head, "cap_")["cap_normal.exe"]);
    if (captured.get() == window.head) window.head = captured->NextExecutant(window.head);
    captured->Unlink();
    const std::string list = folder_.File("captured.ini"), report = folder_.File("relaunched.txt");
    captured->Arguments.Assign(("--report " + report).c_str());
    ASSERT_TRUE(SaveSettingsFile(list.c_str(), captured.get()));
    EndPrograms({"cap_normal.exe"});
    EXPECT_EQ(0, RunUnattended(list).Count());
    EndOnExit relaunched;
    relaunched.Add(ReportedProcessId(WaitForReport(report)));
    ASSERT_TRUE(RequestReport(WindowOfProcess(ReportedProcessId(ReadReport(report)))));
    EXPECT_EQ(Numbers("40,50,320,240"), Numbers(ReadReport(report)["window.normal"]));
}

// The pick by a real click on a child control (made by xclick-relay.sh beside Wine, while
// this thread waits for messages as the pick's hook needs), its cancel and its interruption;
// then a test run that minimises and one that hides the other windows.
TEST_F(CaptureEndToEnd, MousePickAndTestRunWorkOnTheDesktop)
{
    HWND maximised = Start("other_max", "", SW_MAXIMIZE);
    HWND minimised = Start("other_min", "", SW_MINIMIZE);
    HWND picked = Start("pick_app", "--child --fixed 200,200,400,300");
    // The test run starts a program that loads a DLL of its own from beside it, from a launcher
    // that takes its own DLLs from the system folder alone.
    LimitDllSearchToSystemFolder();
    ASSERT_TRUE(::CopyFileA(ProgramBeside("lodestay-standin.dll").c_str(), folder_.File("own.dll").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(TestAppPath().c_str(), folder_.File("own.exe").c_str(), FALSE));
    window.head = MakeExecutant({{"ExecutionFileName", folder_.File("missing.exe")}}).release();
    const std::string own = "--load own.dll --report " + folder_.File("run.txt");
    window.head->InsertBefore(
        MakeExecutant({{"ExecutionFileName", folder_.File("own.exe")}, {"ExecutionArguments", own}}).release());
    RECT child = {};
    ::GetWindowRect(::FindWindowExA(picked, nullptr, "BUTTON", nullptr), &child);
    const char* relay = std::getenv("LODESTAY_XCLICK");
    ASSERT_NE(nullptr, relay) << "run under tests/win/ui/xclick-relay.sh";
    int clicks = 0;

    UiScript script;
    // Arms the pick, then clicks at x, y with the button (1 left, 3 right, 0 none) in the X display:
    // the relay takes request N.click whole, once it is renamed into place.
    auto pick = [&](long x, long y, int button) {
        InDialog(script, IDC_CAPTURE, IDC_CAP_MOUSE, [](HWND) {}, IDC_CAP_MOUSE);
        script.Then([&] { return window.captureArmed && ::IsIconic(window.Handle()); });
        if (button == 0) return;
        const std::string click = std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(button) + "\n";
        const std::string request = WindowsPath(relay) + "\\" + std::to_string(++clicks), taken = request + ".click";
        script.Then([=] { return WriteTextFile(request, click) && ::MoveFileA(request.c_str(), taken.c_str()); });
    };
    pick((child.left + child.right) / 2, (child.top + child.bottom) / 2, 1);
    script.Answer(IDOK).Then([&] {
        EXPECT_EQ("1 件取り込みました.", script.Boxes().back().text);
        EXPECT_EQ("pick_app.exe ", Names(window.head, "pick_app"));
        return !window.captureArmed && !::IsIconic(window.Handle());
    });
    pick(50, 50, 3);
    script.Then([&] { return !window.captureArmed && !::IsIconic(window.Handle()); });
    pick(0, 0, 0);
    script.Then([&] {
        g_thief = ::CreateWindowExA(0, "STATIC", "thief", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        // Outside the script's step, whose tick cannot run again while the message box waits.
        ::SetTimer(nullptr, 0, 10, StealCapture);
        return true;
    });
    // Disarmed before the message shows, so that the box cannot start a second pick.
    script.Then([&] { return FindThreadMessageBox() != nullptr && !window.captureArmed; }).Answer(IDOK);
    script.Then([&] {
        EXPECT_EQ(2u, script.Boxes().size());
        EXPECT_EQ(CaptureText::kInterrupted, script.Boxes().back().text);
        ::ReleaseCapture();
        ::DestroyWindow(g_thief);
        return true;
    });
    for (bool hide : {false, true}) {
        InDialog(script, ID_LAUNCH_TEST, IDC_TR_DELAY, [hide](HWND d) {
            ::SendDlgItemMessageA(d, IDC_TR_DELAY, CB_SETCURSEL, 0, 0);
            ::CheckRadioButton(d, IDC_TR_MINIMISE, IDC_TR_HIDE, hide ? IDC_TR_HIDE : IDC_TR_MINIMISE);
        }, IDOK);
        // Other programs put their windows away when they get to it: the run does not wait for
        // them, and neither does the restore, which only follows the end dialog.
        script.Then([=] { return hide ? !::IsWindowVisible(picked) : ::IsIconic(picked) && ::IsIconic(maximised); });
        // The missing program is reported after the delay, the others still put away.
        if (!hide) script.Then([&] {
            if (FindThreadMessageBox() == nullptr) return false;
            EXPECT_TRUE(::IsIconic(picked) && ::IsIconic(maximised));
            EXPECT_EQ("start", WaitForReport(folder_.File("run.txt"), "start")["event"]);
            return true;
        }).Answer(IDOK);
        InDialog(script, 0, IDC_TE_POST_QUIT, [&, hide](HWND d) {
            EXPECT_EQ(hide, !::IsWindowVisible(picked));
            EXPECT_EQ(!hide, ::IsIconic(picked) != FALSE);
            // On top, in front, with WM_QUIT alone chosen.
            EXPECT_TRUE(::GetWindowLongPtrA(d, GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_EQ(d, ::GetForegroundWindow());
            EXPECT_EQ(2u, static_cast<TestEndDialog*>(Dialog::FromHandle(d))->Methods());
        }, IDOK);
        script.Then([&] {
            return ::GetForegroundWindow() == window.Handle() && ::IsWindowVisible(picked) && !::IsIconic(picked) &&
                   ::IsZoomed(maximised) && ::IsIconic(minimised);
        }).Then([&, hide] {
            if (!hide) {
                EXPECT_EQ("起動エラー\r\n起動に失敗したｱﾌﾟﾘｹｰｼｮﾝが 1 件ありました.\r\n", script.Boxes().back().text);
                EXPECT_EQ("exit", WaitForReport(folder_.File("run.txt"), "exit")["event"]);
                EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(folder_.File("own.dll.mark").c_str()));
            }
            // The second run has nothing to start: shelving and restoring still happen.
            DeleteRing(window.head);
            window.head = nullptr;
            window.RefillList();
            return true;
        });
    }
    Run(script);
    EndPrograms({"pick_app.exe"});
}

}  // namespace
