// Capture, mouse pick and test run against test-application windows of other processes, with
// the main window of this process, in the test desktop. Under Wine GetWindowPlacement on
// another process's window gives its current rectangle as the restored one, so positions of
// minimised and maximised windows are not compared; their show states are.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "CaptureText.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "MainWindowIds.h"
#include "ModuleName.h"
#include "SettingsFile.h"
#include "SmallDialogIds.h"
#include "SystemFunctions.h"
#include "UiScript.h"
#include "WinTestSupport.h"

namespace {

HWND g_thief = nullptr;

void Post(HWND window, int id) { ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// The dialog of this thread that holds the control `id`, once it is up.
HWND DialogWith(int id)
{
    HWND active = ::GetActiveWindow();
    return active != nullptr && ::GetDlgItem(active, id) != nullptr ? active : nullptr;
}

// Entries of the list by module name, only those of the programs this test started.
std::map<std::string, Executant*> Entries(Executant* head, const char* prefix)
{
    std::map<std::string, Executant*> found;
    for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
        const std::string name = ModuleNameOf(e->FileName.Text());
        if (name.rfind(prefix, 0) == 0) found[name] = e;
    }
    return found;
}

// Clicks in the X display, as the user's mouse would (the virtual desktop maps 1:1), through
// the relay that runs beside Wine (xclick-relay.sh). The click arrives while the thread waits
// for messages, as the hook that takes it needs.
std::string XClickRequest()
{
    const char* request = std::getenv("LODESTAY_XCLICK");
    std::string path = std::string("Z:") + (request != nullptr ? request : "");
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
void XClick(int x, int y, int button)
{
    ASSERT_NE(nullptr, std::getenv("LODESTAY_XCLICK")) << "run under tests/win/ui/xclick-relay.sh";
    ASSERT_TRUE(WriteTextFile(XClickRequest(), std::to_string(x) + " " + std::to_string(y) + " " +
                                                   std::to_string(button) + "\n"));
}
bool XClickDone() { return ::GetFileAttributesA(XClickRequest().c_str()) == INVALID_FILE_ATTRIBUTES; }

class CaptureEndToEnd : public ::testing::Test {
protected:
    void TearDown() override
    {
        DeleteRing(window.head);
        apps_.clear();
    }
    // A test-application copy named `name`; its visible unowned window, if it has one.
    HWND Start(const std::string& name, const std::string& options = "")
    {
        apps_.push_back(StartTestAppCopy(folder_.File(name + ".exe"), folder_.File(name + ".txt"),
                                         "--title " + name + " " + options));
        return WindowOfProcess(apps_.back().Id(), true);
    }
    void Run(UiScript& script)
    {
        script.Then([this] {
            window.modified = false;
            window.EndDialog(IDOK);
            return true;
        });
        script.Start();
        ASSERT_EQ(IDOK, window.DoModal(nullptr));
    }
    TempFolder folder_{"capture"};
    std::vector<ChildProcess> apps_;
    ExecutantListDialog window;
};

TEST_F(CaptureEndToEnd, BulkCaptureTakesWhatTheFilterAcceptsAndMergesAsAsked)
{
    // The Windows 98 run says so, so that it cannot pass on the NT route unnoticed.
    if (const char* family = std::getenv("LODESTAY_EXPECT_FAMILY")) {
        ASSERT_EQ(std::atoi(family), GetOsFamily());
    }
    const bool family95 = GetOsFamily() == kOsWin95;
    HWND normal = Start("cap_normal", "--fixed 40,50,320,240");
    ::SetPriorityClass(apps_.back().Get(), HIGH_PRIORITY_CLASS);
    ::ShowWindow(Start("cap_min"), SW_MINIMIZE);
    ::ShowWindow(Start("cap_max"), SW_MAXIMIZE);
    ::EnableWindow(Start("cap_off"), FALSE);
    ::SetWindowTextA(Start("cap_untitled"), "");
    Start("cap_owned", "--owned");
    Start("cap_hidden", "--hidden");
    Start("cap_zero", "--popup --fixed 10,10,0,0");
    ASSERT_NE(nullptr, normal);

    const std::vector<std::string> accepted = {"cap_max.exe", "cap_min.exe", "cap_normal.exe", "cap_off.exe"};
    auto names = [](const std::map<std::string, Executant*>& m) {
        std::vector<std::string> v;
        for (const auto& entry : m) v.push_back(entry.first);
        return v;
    };
    auto startCapture = [this](int radio, bool priority) {
        return [this, radio, priority] {
            HWND d = DialogWith(IDC_CAP_ALL);
            if (d == nullptr) return false;
            if (priority) ::CheckDlgButton(d, IDC_CAP_TAKE_PRIORITY, BST_CHECKED);
            ::CheckRadioButton(d, IDC_CAP_REBUILD, IDC_CAP_KEEP, radio);
            Post(d, IDC_CAP_ALL);
            return true;
        };
    };
    UiScript script;
    // The window opened on an empty list: the initial capture filled it, unmodified.
    script.Then([&] {
        auto found = Entries(window.head, "cap_");
        EXPECT_EQ(accepted, names(found));
        EXPECT_TRUE(Entries(window.head, "lodestay_ui_tests").empty());
        EXPECT_FALSE(window.modified);
        Executant* e = found["cap_normal.exe"];
        if (e == nullptr) return true;
        EXPECT_EQ(1, e->SettingNumber(kKeyShowMode));
        EXPECT_EQ(40, e->PositionX);
        EXPECT_EQ(50, e->PositionY);
        EXPECT_EQ(320, e->Width);
        EXPECT_EQ(240, e->Height);
        EXPECT_EQ(1, e->HasSize);
        EXPECT_EQ(0u, e->Priority);
        // The 95 family's snapshot names the program without its folder.
        EXPECT_STRCASEEQ(family95 ? "cap_normal.exe" : folder_.File("cap_normal.exe").c_str(), e->FileName.Text());
        EXPECT_STRCASEEQ(family95 ? "" : folder_.Path().c_str(), e->SettingText(kKeyPath).Text());
        EXPECT_EQ(2, found["cap_min.exe"]->SettingNumber(kKeyShowMode));
        EXPECT_EQ(3, found["cap_max.exe"]->SettingNumber(kKeyShowMode));
        // One registered module gone: only it comes back, with its priority class.
        if (e == window.head) window.head = e->NextExecutant(window.head);
        e->Unlink();
        delete e;
        window.RefillList();
        Post(window.Handle(), IDC_CAPTURE);
        return true;
    });
    script.Then(startCapture(IDC_CAP_KEEP, true)).Answer(IDOK);
    script.Then([&] {
        EXPECT_EQ("既に登録済みのモジュールを除いて 1 件取り込みました.", script.BoxTexts().back());
        EXPECT_TRUE(window.modified);
        Executant* last = static_cast<Executant*>(window.head->Prev());
        EXPECT_EQ("cap_normal.exe", ModuleNameOf(last->FileName.Text()));
        EXPECT_EQ(0x30u, last->Priority);
        EXPECT_EQ(1, last->HasPriority);
        window.modified = false;
        Post(window.Handle(), IDC_CAPTURE);
        return true;
    });
    script.Then(startCapture(IDC_CAP_KEEP, false)).Answer(IDOK);
    script.Then([&] {
        EXPECT_EQ("既にﾘｽﾄに登録済みのモジュールですので、１件も取り込みませんでした.", script.BoxTexts().back());
        EXPECT_FALSE(window.modified);
        Post(window.Handle(), IDC_CAPTURE);
        return true;
    });
    // Rebuild replaces the list silently, and marks it changed.
    script.Then(startCapture(IDC_CAP_REBUILD, false));
    script.Then([&] { return window.modified; });
    script.Then([&] {
        EXPECT_EQ(accepted, names(Entries(window.head, "cap_")));
        EXPECT_EQ(2u, script.Boxes().size());
        EXPECT_EQ(ListView_GetItemCount(window.List()), [&] {
            int n = 0;
            for (Executant* e = window.head; e != nullptr; e = e->NextExecutant(window.head)) ++n;
            return n;
        }());
        return true;
    });
    Run(script);
}

// Arrange windows, capture them, save, close them, start the saved list unattended: every
// window comes back as it was captured.
TEST_F(CaptureEndToEnd, CapturedWindowsComeBackWhereTheyWereWithTheUnattendedStart)
{
    ::SetWindowPos(Start("story_normal"), nullptr, 100, 80, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(Start("story_max"), SW_MAXIMIZE);
    ::ShowWindow(Start("story_min"), SW_MINIMIZE);
    const std::string settings = folder_.File("story.ini");
    UiScript script;
    script.Then([&] {
        Executant* kept = nullptr;
        for (auto& entry : Entries(window.head, "story_")) {
            entry.second->Unlink();
            if (entry.second == window.head) window.head = nullptr;
            if (kept == nullptr) kept = entry.second;
            else kept->InsertBefore(entry.second);
        }
        DeleteRing(window.head);
        window.head = kept;
        EXPECT_TRUE(SaveSettingsFile(settings.c_str(), window.head));
        return true;
    });
    Run(script);
    apps_.clear();  // closes them
    const ProgramRun run = RunUnattended(settings);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(0, run.Count()) << run.Text();

    std::map<std::string, HWND> back;
    for (const char* name : {"story_normal.exe", "story_max.exe", "story_min.exe"}) {
        for (HWND w = ::FindWindowExA(nullptr, nullptr, "LodestayTestApp", nullptr); w != nullptr;
             w = ::FindWindowExA(nullptr, w, "LodestayTestApp", nullptr)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(w, &pid);
            HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
            char path[MAX_PATH] = "";
            if (process != nullptr) Bound::GetModuleFileNameExA(process, nullptr, path, sizeof(path));
            if (process != nullptr) ::CloseHandle(process);
            if (ModuleNameOf(path) == name && ::IsWindowVisible(w)) back[name] = w;
        }
    }
    ASSERT_EQ(3u, back.size());
    RECT rect = {};
    ::GetWindowRect(back["story_normal.exe"], &rect);
    EXPECT_EQ(100, rect.left);
    EXPECT_EQ(80, rect.top);
    EXPECT_EQ(400, rect.right - rect.left);
    EXPECT_EQ(300, rect.bottom - rect.top);
    EXPECT_FALSE(::IsIconic(back["story_normal.exe"]) || ::IsZoomed(back["story_normal.exe"]));
    EXPECT_TRUE(::IsZoomed(back["story_max.exe"]));
    EXPECT_TRUE(::IsIconic(back["story_min.exe"]));
    EndPrograms({"story_normal.exe", "story_max.exe", "story_min.exe"});
}

// The pick by a real click in the X display, its cancel and its interruption; then two test
// runs around the picked program's window and two more.
TEST_F(CaptureEndToEnd, MousePickAndTestRunWorkOnTheDesktop)
{
    HWND maximised = Start("other_max");
    ::ShowWindow(maximised, SW_MAXIMIZE);
    HWND minimised = Start("other_min");
    ::ShowWindow(minimised, SW_MINIMIZE);
    HWND picked = Start("pick_app", "--child --fixed 200,200,400,300");
    std::unique_ptr<Executant> run = MakeExecutant(
        {{"ExecutionFileName", TestAppPath()}, {"ExecutionArguments", "--report " + folder_.File("run.txt")}});
    window.head = MakeExecutant({{"ExecutionFileName", folder_.File("missing.exe")}}).release();
    window.head->InsertBefore(run.release());
    RECT child = {};
    ::GetWindowRect(::FindWindowExA(picked, nullptr, "BUTTON", nullptr), &child);

    UiScript script;
    auto arm = [&] {
        script.Then([&] { Post(window.Handle(), IDC_CAPTURE); return true; });
        script.Then([&] {
            HWND d = DialogWith(IDC_CAP_MOUSE);
            if (d != nullptr) Post(d, IDC_CAP_MOUSE);
            return d != nullptr;
        });
        script.Then([&] { return window.captureArmed && ::IsIconic(window.Handle()); });
    };
    arm();
    script.Then([&] { XClick((child.left + child.right) / 2, (child.top + child.bottom) / 2, 1); return true; });
    script.Answer(IDOK);
    script.Then([&] {
        EXPECT_EQ("1 件取り込みました.", script.BoxTexts().back());
        EXPECT_FALSE(window.captureArmed);
        EXPECT_FALSE(::IsIconic(window.Handle()));
        EXPECT_EQ(1u, Entries(window.head, "pick_app").size());
        return true;
    });
    arm();
    script.Then([&] { XClick(50, 50, 3); return true; }).Then(XClickDone);
    script.Then([&] { return !window.captureArmed && !::IsIconic(window.Handle()); });
    arm();
    script.Then([&] {
        g_thief = ::CreateWindowExA(0, "STATIC", "thief", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        // Outside the script's step, whose tick cannot run again while the message box waits.
        ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            ::SetCapture(g_thief);
        });
        return true;
    });
    script.Answer(IDOK);
    script.Then([&] {
        EXPECT_EQ(CaptureText::kInterrupted, script.BoxTexts().back());
        EXPECT_FALSE(window.captureArmed);
        EXPECT_EQ(2u, script.Boxes().size());  // the right click showed nothing
        ::ReleaseCapture();
        ::DestroyWindow(g_thief);
        return true;
    });
    // A test run minimising the other windows: the failure comes after the delay, with the
    // other windows still put away; WM_QUIT ends the test-launched program.
    for (bool hide : {false, true}) {
        script.Then([&] { Post(window.Handle(), ID_LAUNCH_TEST); return true; });
        script.Then([&, hide] {
            HWND d = DialogWith(IDC_TR_DELAY);
            if (d == nullptr) return false;
            ::SendDlgItemMessageA(d, IDC_TR_DELAY, CB_SETCURSEL, 0, 0);
            ::CheckRadioButton(d, IDC_TR_MINIMISE, IDC_TR_HIDE, hide ? IDC_TR_HIDE : IDC_TR_MINIMISE);
            Post(d, IDOK);
            return true;
        });
        if (!hide) {
            script.Then([&] {
                if (FindThreadMessageBox() == nullptr) return false;
                EXPECT_TRUE(::IsIconic(picked) && ::IsIconic(maximised));
                EXPECT_EQ("start", ReadReport(folder_.File("run.txt"))["event"]);
                return true;
            });
            script.Answer(IDOK);
        }
        script.Then([&, hide] {
            HWND d = DialogWith(IDC_TE_POST_QUIT);
            if (d == nullptr) return false;
            EXPECT_EQ(hide, !::IsWindowVisible(picked));
            EXPECT_EQ(!hide, ::IsIconic(picked) != FALSE);
            Post(d, IDOK);
            return true;
        });
        script.Then([&] {
            return ::GetForegroundWindow() == window.Handle() && ::IsWindowVisible(picked) && !::IsIconic(picked) &&
                   ::IsZoomed(maximised);
        });
        script.Then([&, hide] {
            if (!hide) {
                EXPECT_EQ("起動エラー\r\n起動に失敗したｱﾌﾟﾘｹｰｼｮﾝが 1 件ありました.\r\n", script.BoxTexts().back());
                EXPECT_EQ("exit", WaitForReport(folder_.File("run.txt"), "exit")["event"]);
            }
            EXPECT_TRUE(::IsZoomed(maximised));
            EXPECT_TRUE(::IsIconic(minimised));
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
