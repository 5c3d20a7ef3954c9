// The editor opened from its template on a prepared executant and driven as a user would.
#include <gtest/gtest.h>

#include <direct.h>

#include <memory>

#include "EditorIds.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "LaunchInfoDialog.h"
#include "MainWindowIds.h"
#include "SettingsFile.h"
#include "SystemFunctions.h"
#include "WinTestSupport.h"
#include "UiScript.h"

namespace {

using Keys = std::vector<std::pair<const char*, const char*>>;
using Steps = std::vector<UiScript::Step>;

// A record as the settings reader makes it.
std::unique_ptr<Executant> Prepared(const Keys& keys)
{
    std::unique_ptr<Executant> e(new Executant);
    e->AddKeyword("ExecutionFileName", "C:\\t\\app.exe");
    for (const auto& key : keys) e->AddKeyword(key.first, key.second);
    e->Validate();
    e->ApplySettings();
    return e;
}

// A visible dialog that holds the control (the test's desktop has no others).
HWND ThreadDialogWith(int id)
{
    for (HWND w = nullptr; (w = ::FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        if (::IsWindowVisible(w) && ::GetDlgItem(w, id) != nullptr) return w;
    }
    return nullptr;
}

std::string Text(HWND w) { char t[512] = ""; return ::GetWindowTextA(w, t, sizeof(t)) >= 0 ? t : ""; }

LaunchInfoDialog* dialog = nullptr;  // the editor that runs
HWND Own(int id) { return dialog->Item(id); }
Dialog& PageOf(int page) { return page ? static_cast<Dialog&>(dialog->controlPage) : dialog->geometryPage; }
HWND Page(int page, int id) { return PageOf(page).Item(id); }
bool Enabled(HWND control) { return ::IsWindowEnabled(control) != FALSE; }
std::string Setting(const Executant& e, int key) { return e.SettingText(key).Text(); }

// Opens the editor on e and runs the steps inside it; they end it.
INT_PTR Edit(const std::unique_ptr<Executant>& e, const Steps& steps, UiScript&& script = UiScript())
{
    LaunchInfoDialog editor;
    editor.executant = e.get();
    dialog = &editor;
    for (const auto& step : steps) script.Then(step);
    script.Start();
    return editor.DoModal(nullptr);
}

// The setting as the settings file gives it back.
std::string LoadedBack(const std::unique_ptr<Executant>& e, int key, const std::string& file)
{
    std::unique_ptr<Executant> back(SaveSettingsFile(file.c_str(), e.get()) ? LoadSettingsFile(file.c_str()) : nullptr);
    return back ? Setting(*back, key) : "(not loaded)";
}

// In the open dialog of this thread: types a name and confirms.
UiScript::Step ChooseFile(const std::string& path)
{
    return [path] {
        HWND chooser = ThreadDialogWith(1148);
        return chooser && ::SetDlgItemTextA(chooser, 1148, path.c_str()) &&
               ::PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    };
}

TEST(LaunchInfoDialogTest, StoresWhatTheUserSetAndItLoadsBack)
{
    TempFolder folder;
    const std::string kanji = folder.File("機能"), file = folder.File("back.ini");
    ASSERT_TRUE(::CreateDirectoryA(kanji.c_str(), nullptr));
    char current[MAX_PATH] = "", now[MAX_PATH] = "";
    ASSERT_NE(nullptr, _getcwd(current, sizeof(current)));
    constexpr int kChooser = -IDC_LI_BROWSE_DIR;
    // control: on the geometry page when positive, the dialog's own when negative; text: typed (or
    // chosen), empty when the control is looked at or clicked; loaded: null when as saved.
    struct Case { Keys keys; int control; std::string text; int key; std::string saved; const char* loaded; } cases[] {
        {{}, IDC_GEO_X, "", kKeyPosition, "", "0x80000000,0x80000000"},
        {{}, IDC_GEO_POSITION_GIVEN, "", kKeyPosition, "0,0", nullptr},
        {{{"ExecutionShowMode", "7"}}, IDC_GEO_NORMAL, "", kKeyShowMode, "1", nullptr},
        {{}, -IDC_LI_ARGUMENTS, "}", kKeyArguments, "}", nullptr},
        {{}, -IDC_LI_WORKING_DIR, "C:\\機能\\", kKeyPath, "C:\\機能", nullptr},
        {{}, kChooser, kanji, kKeyPath, kanji, nullptr},
        {{}, kChooser, "C:\\", kKeyPath, "C:\\", nullptr},
    };
    for (Case& c : cases) {
        auto e = Prepared(c.keys);
        EXPECT_EQ(IDOK, Edit(e, {[&] {
            HWND control = c.control < 0 ? Own(-c.control) : Page(0, c.control);
            if (c.control == kChooser) {
                ::SetWindowTextA(Own(IDC_LI_WORKING_DIR), c.text.c_str());
                ::PostMessageA(control, BM_CLICK, 0, 0);
            } else if (!c.text.empty()) {
                ::SetWindowTextA(control, c.text.c_str());
            } else if (c.control == IDC_GEO_X) {
                EXPECT_TRUE(Text(control) == "0" && !Enabled(control) && !Enabled(Page(0, IDC_GEO_Y)));
            } else if (c.control == IDC_GEO_POSITION_GIVEN) {
                ::SendMessageA(control, BM_CLICK, 0, 0);
            }
            return true;
        }, [&] {
            HWND chooser = ThreadDialogWith(IDC_FC_FOLDERS), name = ::GetDlgItem(chooser, IDC_FC_FILE_NAME);
            if (c.control != kChooser || chooser == nullptr) return c.control != kChooser;
            EXPECT_EQ(dialog->Handle(), ::GetWindow(chooser, GW_OWNER));
            EXPECT_TRUE(!::IsWindowVisible(name) && Text(name) == "Vorn");
            EXPECT_EQ(::GetDlgItem(chooser, IDC_FC_FOLDERS), ::GetFocus());
            return ::PostMessageA(chooser, WM_COMMAND, IDOK, 0) != FALSE;
        }, [&] {
            if (ThreadDialogWith(IDC_FC_FOLDERS) != nullptr) return false;
            EXPECT_STREQ(current, _getcwd(now, sizeof(now)));
            return ::SendMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0) >= 0;
        }}));
        EXPECT_TRUE(c.control != IDC_GEO_X || (e->PositionX == kUnsetCoordinate && e->PositionY == kUnsetCoordinate));
        EXPECT_EQ(c.loaded ? c.loaded : c.saved, LoadedBack(e, c.key, file)) << ReadTextFile(file);
        EXPECT_EQ(c.saved, Setting(*e, c.key));
    }
}

TEST(LaunchInfoDialogTest, FailedChecksKeepTheDialogOpenOnTheirPage)
{
    struct Case { int page, id; const char* text; bool passes; } cases[] = {
        {1, IDC_CTL_TIMEOUT, "100000", false}, {1, IDC_CTL_TIMEOUT, "99999", true},
        {1, IDC_CTL_TIMEOUT, "0", true},       {0, IDC_GEO_HEIGHT, "", false},
    };
    for (const Case& c : cases) {
        auto e = Prepared({{"ExecutionSize", "640,480"}});
        UiScript script;
        script.Then([&] {
            // The other page is in front when OK is pressed.
            TabCtrl_SetCurSel(Own(IDC_LI_TABS), 1 - c.page);
            NMHDR change = {Own(IDC_LI_TABS), IDC_LI_TABS, static_cast<UINT>(TCN_SELCHANGE)};
            ::SendMessageA(dialog->Handle(), WM_NOTIFY, IDC_LI_TABS, reinterpret_cast<LPARAM>(&change));
            ::SetWindowTextA(Page(c.page, c.id), c.text);
            return ::PostMessageA(Own(IDOK), BM_CLICK, 0, 0);
        });
        if (!c.passes) script.Answer(IDOK).Then([&] {
            EXPECT_TRUE(dialog->IsRunning());
            EXPECT_EQ(c.page, TabCtrl_GetCurSel(Own(IDC_LI_TABS))) << c.text;
            EXPECT_TRUE(::IsWindowVisible(PageOf(c.page).Handle()) && !::IsWindowVisible(PageOf(1 - c.page).Handle()));
            EXPECT_EQ(Page(c.page, c.id), ::GetFocus()) << c.text;
            return ::PostMessageA(Own(IDCANCEL), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(c.passes ? IDOK : IDCANCEL, Edit(e, {}, std::move(script))) << c.text;
        // Cancel writes nothing.
        EXPECT_EQ(c.passes ? std::atoi(c.text) : kDefaultInputTimeout, e->InputTimeout) << c.text;
    }
}

TEST(LaunchInfoDialogTest, FileNameAndShellDocumentRuleTheControls)
{
    TempFolder folder;
    const std::string document = folder.File("note.lodestay-none");
    const std::string longDocument = folder.File(std::string(255 - folder.Path().size(), 'x'));  // 256 bytes
    ASSERT_TRUE(WriteTextFile(document, "x") && WriteTextFile(longDocument, "x"));
    auto e = Prepared({{"ExecutionInitialOnce", "1"}, {"ExecutionDisableIME", "1"}, {"ExecutionPriority", "0x32"}});
    UiScript script;
    // The long path becomes the arguments: the file-name update and OK refuse it.
    script.Then([&] {
        ::SetWindowTextA(Own(IDC_LI_FILE_NAME), "a.ex");
        EXPECT_FALSE(Enabled(Own(IDOK)));
        ::SendMessageA(Own(IDC_LI_FILE_NAME), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("e"));
        EXPECT_TRUE(Enabled(Own(IDOK))) << "a fifth byte enables OK at once";
        return ::PostMessageA(Own(IDC_LI_SHELL), BM_CLICK, 0, 0);
    }).Then(ChooseFile(longDocument)).Answer(IDOK).Then([&] {
        return dialog->shellMode && !FindThreadMessageBox() && ::PostMessageA(Own(IDOK), BM_CLICK, 0, 0);
    }).Answer(IDOK).Then([&] {
        EXPECT_TRUE(dialog->IsRunning() && ::GetFocus() == Own(IDC_LI_ARGUMENTS));
        ::SetWindowTextA(Own(IDC_LI_ARGUMENTS), "");
        return ::PostMessageA(Own(IDC_LI_SHELL), BM_CLICK, 0, 0);
    }).Then(ChooseFile(document)).Then([&] {
        if (dialog->arguments != document) return false;
        EXPECT_TRUE(Enabled(Page(1, IDC_CTL_CLASS)) && !Enabled(Own(IDC_LI_FILE_NAME)) &&
                    !Enabled(Page(1, IDC_CTL_THREAD)) && !Enabled(Page(1, IDC_CTL_PREVENT_DUPLICATE)) &&
                    !Enabled(Page(1, IDC_CTL_DISABLE_IME)));
        EXPECT_TRUE(Enabled(Own(IDOK)) && dialog->fileName.empty()) << "no program found, OK all the same";
        return ::SendMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0) >= 0;
    });
    const UiScript& seen = script;
    EXPECT_EQ(IDOK, Edit(e, {}, std::move(script)));
    EXPECT_EQ(2u, seen.Boxes().size());
    EXPECT_TRUE(e->ShellExec == 1 && e->Priority == 0x30u) << "no thread priority in shell mode";
    EXPECT_TRUE(Setting(*e, kKeyInitialOnce).empty() && Setting(*e, kKeyDisableIME) == "1") << "no guard, IME kept";
    EXPECT_EQ(folder.Path(), Setting(*e, kKeyPath));
    // Without a program the document is the file name, so the record loads back.
    EXPECT_EQ(document, LoadedBack(e, kKeyArguments, folder.File("shell.ini")));
}

// Also run as a copy of this program for which Wine reports Windows 98.
TEST(LaunchInfoDialogTest, TabRunsThroughTabControlPageAndFileNameAndImeNeedsNt)
{
    // page: the tab in front; from, to: focused controls, negative ids for the dialog's own.
    struct Move { int page, from; bool shift; int to; } moves[] = {
        {0, -IDC_LI_TABS, false, IDC_GEO_NORMAL},           {0, IDC_GEO_SIZE_GIVEN, false, -IDC_LI_FILE_NAME},
        {0, -IDC_LI_FILE_NAME, true, IDC_GEO_SIZE_GIVEN},   {0, IDC_GEO_NORMAL, true, -IDC_LI_TABS},
        {1, -IDC_LI_TABS, false, IDC_CTL_PRIORITY_GIVEN},   {1, IDC_CTL_TIMEOUT, false, -IDC_LI_FILE_NAME},
        {1, IDC_CTL_PRIORITY_GIVEN, true, -IDC_LI_TABS},
    };
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    const bool win98 = std::string(self).find("98.exe") != std::string::npos;
    auto e = Prepared({{"ExecutionDisableIME", "1"}});
    Steps steps = {[&] {
        EXPECT_EQ(win98 ? kOsWin95 : kOsNT, GetOsFamily());
        EXPECT_EQ(!win98, Enabled(Page(1, IDC_CTL_DISABLE_IME)));
        ::SendMessageA(Page(1, IDC_CTL_PRIORITY_GIVEN), BM_CLICK, 0, 0);
        EXPECT_EQ(!win98, Enabled(Page(1, IDC_CTL_DISABLE_IME))) << "after a refresh";
        return true;
    }};
    const Move* last = nullptr;
    auto control = [](const Move& m, int id) { return id < 0 ? Own(-id) : Page(m.page, id); };
    auto arrived = [&] { EXPECT_EQ(control(*last, last->to), ::GetFocus()) << last->page << " " << last->from; };
    for (const Move& m : moves) {
        steps.push_back([&m, &last, control, arrived] {
            if (last != nullptr) arrived();
            ::ShowWindow(PageOf(1 - m.page).Handle(), SW_HIDE);
            ::ShowWindow(PageOf(m.page).Handle(), SW_SHOWNA);
            TabCtrl_SetCurSel(Own(IDC_LI_TABS), m.page);
            ::SetFocus(control(m, m.from));
            PostKey(::GetFocus(), VK_TAB, m.shift);
            last = &m;
            return true;
        });
    }
    steps.push_back([&] { return arrived(), ::PostMessageA(Own(IDCANCEL), BM_CLICK, 0, 0); });
    EXPECT_EQ(IDCANCEL, Edit(e, steps));
}

TEST(EditCommandsTest, AddAppendsOnOkOnlyAndEditNeedsOneRow)
{
    // selected: rows selected before the command; button: pressed in the editor, 0 when none opens.
    struct Case { int command, selected, button, rows; } cases[] = {
        {IDC_ADD, 0, IDCANCEL, 2}, {IDC_ADD, 0, IDOK, 3}, {IDC_EDIT_ENTRY, 2, 0, 2}, {IDC_EDIT_ENTRY, 1, IDOK, 2},
    };
    ExecutantListDialog window;
    UiScript script;
    for (const Case& c : cases) {
        script.Then([&] {
            DeleteRing(window.head);
            window.head = Prepared({}).release();
            window.head->InsertBefore(Prepared({}).release());
            window.RefillList();
            for (int row = 0; row < c.selected; ++row) {
                ListView_SetItemState(window.List(), row, LVIS_SELECTED, LVIS_SELECTED);
            }
            window.modified = false;
            return ::PostMessageA(window.Handle(), WM_COMMAND, c.command, 0) != FALSE;
        });
        script.Then([&] {
            HWND editor = ThreadDialogWith(IDC_LI_TABS);
            EXPECT_TRUE(c.button != 0 || editor == nullptr) << "edit needs exactly one row";
            if (c.button == 0 || editor == nullptr) return c.button == 0;
            EXPECT_EQ(window.Handle(), ::GetWindow(editor, GW_OWNER));
            ::SetDlgItemTextA(editor, IDC_LI_FILE_NAME, "C:\\t\\new.exe");
            return ::PostMessageA(::GetDlgItem(editor, c.button), BM_CLICK, 0, 0) != FALSE;
        });
        script.Then([&] {
            if (ThreadDialogWith(IDC_LI_TABS) != nullptr) return false;
            EXPECT_EQ(c.rows, ListView_GetItemCount(window.List())) << c.command;
            EXPECT_EQ(c.button == IDOK, window.modified) << c.command;
            const int changed = c.command == IDC_ADD ? c.rows - 1 : 0;  // the new row or the edited one
            EXPECT_EQ(c.button == IDOK ? "new.exe" : "app.exe", CellText(window.List(), changed, 0)) << c.command;
            return true;
        });
    }
    script.Then([&] { return (window.modified = false) || ::PostMessageA(window.Handle(), WM_COMMAND, IDCANCEL, 0); });
    script.Start();
    EXPECT_EQ(IDOK, window.DoModal(nullptr));
    DeleteRing(window.head);
}

}  // namespace
