// The editor opened from its template on a prepared executant and driven as a user would.
#include <gtest/gtest.h>

#include <direct.h>

#include <string>
#include <vector>

#include "EditorIds.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "LaunchInfoDialog.h"
#include "MainWindowIds.h"
#include "SettingsFile.h"
#include "SystemFunctions.h"
#include "TempFolder.h"
#include "UiScript.h"

namespace {

using Keys = std::vector<std::pair<const char*, const char*>>;
using Steps = std::vector<UiScript::Step>;

// A record as the settings reader makes it.
Executant* Prepared(const Keys& keys)
{
    Executant* e = new Executant;
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

std::string Text(HWND window)
{
    char text[512] = "";
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

LaunchInfoDialog* dialog = nullptr;  // the editor that runs
HWND Own(int id) { return dialog->Item(id); }
Dialog& PageOf(int page) { return page ? static_cast<Dialog&>(dialog->controlPage) : dialog->geometryPage; }
HWND Page(int page, int id) { return PageOf(page).Item(id); }
bool Enabled(HWND control) { return ::IsWindowEnabled(control) != FALSE; }
void Click(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }
std::string Setting(const Executant& e, int key) { return e.SettingText(key).Text(); }

// Opens the editor on e and runs the steps inside it; they end it.
INT_PTR Edit(Executant* e, const Steps& steps)
{
    LaunchInfoDialog editor;
    editor.executant = e;
    dialog = &editor;
    UiScript script;
    for (const auto& step : steps) script.Then(step);
    script.Start();
    return editor.DoModal(nullptr);
}

// In the open dialog of this thread: types a name and confirms.
UiScript::Step ChooseFile(const std::string& path)
{
    return [path] {
        HWND chooser = ThreadDialogWith(1148);
        if (chooser == nullptr) return false;
        ::SetDlgItemTextA(chooser, 1148, path.c_str());
        return ::PostMessageA(chooser, WM_COMMAND, IDOK, 0) != FALSE;
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
    struct Case { Keys keys; int control; std::string text; int key; std::string saved; const char* loaded; } cases[] = {
        {{}, IDC_GEO_X, "", kKeyPosition, "", "0x80000000,0x80000000"},
        {{}, IDC_GEO_POSITION_GIVEN, "", kKeyPosition, "0,0", nullptr},
        {{{"ExecutionShowMode", "7"}}, IDC_GEO_NORMAL, "", kKeyShowMode, "1", nullptr},
        {{}, -IDC_LI_ARGUMENTS, "}", kKeyArguments, "}", nullptr},
        {{}, -IDC_LI_WORKING_DIR, "C:\\機能\\", kKeyPath, "C:\\機能", nullptr},
        {{}, kChooser, kanji, kKeyPath, kanji, nullptr},
        {{}, kChooser, "C:\\", kKeyPath, "C:\\", nullptr},
    };
    for (Case& c : cases) {
        Executant* e = Prepared(c.keys);
        EXPECT_EQ(IDOK, Edit(e, {[&] {
            HWND control = c.control < 0 ? Own(-c.control) : Page(0, c.control);
            if (c.control == kChooser) {
                ::SetWindowTextA(Own(IDC_LI_WORKING_DIR), c.text.c_str());
                Click(control);
            } else if (!c.text.empty()) {
                ::SetWindowTextA(control, c.text.c_str());
            } else if (c.control == IDC_GEO_X) {
                EXPECT_TRUE(Text(control) == "0" && !Enabled(control) && !Enabled(Page(0, IDC_GEO_Y)));
            } else if (c.control == IDC_GEO_NORMAL) {
                EXPECT_EQ(BST_CHECKED, ::SendMessageA(control, BM_GETCHECK, 0, 0));
            } else {
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
        ASSERT_TRUE(SaveSettingsFile(file.c_str(), e));
        EXPECT_EQ(c.saved, Setting(*e, c.key));
        Executant* back = LoadSettingsFile(file.c_str());
        ASSERT_NE(nullptr, back);
        EXPECT_EQ(c.loaded ? c.loaded : c.saved, Setting(*back, c.key)) << "loaded back:\n" << ReadTextFile(file);
        DeleteRing(back);
        delete e;
    }
}

TEST(LaunchInfoDialogTest, FailedChecksKeepTheDialogOpenOnTheirPage)
{
    struct Case { int page, id; const char* text; bool passes; } cases[] = {
        {1, IDC_CTL_TIMEOUT, "100000", false}, {1, IDC_CTL_TIMEOUT, "99999", true},
        {1, IDC_CTL_TIMEOUT, "0", true},       {0, IDC_GEO_HEIGHT, "", false},
    };
    for (const Case& c : cases) {
        Executant* e = Prepared({{"ExecutionSize", "640,480"}});
        bool refused = false, open = false;
        Steps steps = {[&] {
            // The other page is in front when OK is pressed.
            TabCtrl_SetCurSel(Own(IDC_LI_TABS), 1 - c.page);
            NMHDR change = {Own(IDC_LI_TABS), IDC_LI_TABS, static_cast<UINT>(TCN_SELCHANGE)};
            ::SendMessageA(dialog->Handle(), WM_NOTIFY, IDC_LI_TABS, reinterpret_cast<LPARAM>(&change));
            ::SetWindowTextA(Page(c.page, c.id), c.text);
            Click(Own(IDOK));
            return true;
        }};
        if (!c.passes) {
            steps.push_back([&] {
                if (HWND box = FindThreadMessageBox()) {
                    refused = ::PostMessageA(box, WM_COMMAND, IDOK, 0) != FALSE;
                    return false;
                }
                if (!refused) return false;
                open = dialog->IsRunning();
                EXPECT_EQ(c.page, TabCtrl_GetCurSel(Own(IDC_LI_TABS))) << c.text;
                EXPECT_TRUE(::IsWindowVisible(PageOf(c.page).Handle()) && !::IsWindowVisible(PageOf(1 - c.page).Handle()));
                EXPECT_EQ(Page(c.page, c.id), ::GetFocus()) << c.text;
                dialog->EndDialog(IDCANCEL);
                return true;
            });
        }
        EXPECT_EQ(c.passes ? IDOK : IDCANCEL, Edit(e, steps)) << c.text;
        EXPECT_EQ(!c.passes, open) << c.text;
        // Cancel writes nothing.
        EXPECT_EQ(c.passes ? std::atoi(c.text) : kDefaultInputTimeout, e->InputTimeout) << c.text;
        delete e;
    }
}

TEST(LaunchInfoDialogTest, FileNameAndShellDocumentRuleTheControls)
{
    TempFolder folder;
    const std::string document = folder.File("note.lodestay-none");
    const std::string longDocument = folder.File(std::string(255 - folder.Path().size(), 'x'));
    ASSERT_EQ(256u, longDocument.size());
    ASSERT_TRUE(WriteTextFile(document, "x") && WriteTextFile(longDocument, "x"));
    Executant* e = Prepared({{"ExecutionInitialOnce", "1"}, {"ExecutionDisableIME", "1"}, {"ExecutionPriority", "0x32"}});
    int refusals = 0;
    EXPECT_EQ(IDOK, Edit(e, {
        [&] {
            ::SetWindowTextA(Own(IDC_LI_FILE_NAME), "a.ex");
            EXPECT_FALSE(Enabled(Own(IDOK)));
            ::SendMessageA(Own(IDC_LI_FILE_NAME), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("e"));
            EXPECT_TRUE(Enabled(Own(IDOK))) << "a fifth byte enables OK at once";
            Click(Own(IDC_LI_SHELL));
            return true;
        },
        ChooseFile(longDocument),
        [&] { return dialog->shellMode && ::PostMessageA(Own(IDOK), BM_CLICK, 0, 0); },
        [&] {
            // The long path is the arguments now: the file-name update and OK refuse it.
            if (HWND box = FindThreadMessageBox()) {
                ++refusals;
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                return false;
            }
            if (::GetFocus() != Own(IDC_LI_ARGUMENTS)) return false;
            EXPECT_TRUE(dialog->IsRunning());
            ::SetWindowTextA(Own(IDC_LI_ARGUMENTS), "");
            Click(Own(IDC_LI_SHELL));
            return true;
        },
        ChooseFile(document),
        [&] {
            if (dialog->arguments != document) return false;
            EXPECT_TRUE(!Enabled(Own(IDC_LI_FILE_NAME)) && Enabled(Page(1, IDC_CTL_CLASS)));
            EXPECT_FALSE(Enabled(Page(1, IDC_CTL_THREAD)) || Enabled(Page(1, IDC_CTL_PREVENT_DUPLICATE)) ||
                         Enabled(Page(1, IDC_CTL_DISABLE_IME)));
            EXPECT_TRUE(Enabled(Own(IDOK)) && dialog->fileName.empty()) << "no program found, OK all the same";
            return ::SendMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0) >= 0;
        }}));
    EXPECT_GE(refusals, 1);
    EXPECT_EQ(1, e->ShellExec);
    EXPECT_EQ(0x30u, e->Priority) << "no thread priority in shell mode";
    EXPECT_EQ("", Setting(*e, kKeyInitialOnce));
    EXPECT_EQ("1", Setting(*e, kKeyDisableIME));
    EXPECT_EQ(folder.Path(), Setting(*e, kKeyPath));
    // Without a program the document is the file name, so the record loads back.
    const std::string file = folder.File("shell.ini");
    ASSERT_TRUE(SaveSettingsFile(file.c_str(), e));
    Executant* back = LoadSettingsFile(file.c_str());
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(document, back->Arguments.Text());
    DeleteRing(back);
    delete e;
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
    Executant* e = Prepared({{"ExecutionDisableIME", "1"}});
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
    steps.push_back([&] {
        arrived();
        return ::PostMessageA(Own(IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDCANCEL, Edit(e, steps));
    delete e;
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
            window.head = Prepared({});
            window.head->InsertBefore(Prepared({}));
            window.RefillList();
            for (int row = 0; row < c.selected; ++row) ListView_SetItemState(window.List(), row, LVIS_SELECTED, LVIS_SELECTED);
            window.modified = false;
            return ::PostMessageA(window.Handle(), WM_COMMAND, c.command, 0) != FALSE;
        });
        script.Then([&] {
            HWND editor = ThreadDialogWith(IDC_LI_TABS);
            if (c.button != 0 && editor == nullptr) return false;
            EXPECT_EQ(c.button != 0, editor != nullptr);
            if (editor == nullptr) return true;
            EXPECT_EQ(window.Handle(), ::GetWindow(editor, GW_OWNER));
            ::SetDlgItemTextA(editor, IDC_LI_FILE_NAME, "C:\\t\\new.exe");
            return ::PostMessageA(::GetDlgItem(editor, c.button), BM_CLICK, 0, 0) != FALSE;
        });
        script.Then([&] {
            if (ThreadDialogWith(IDC_LI_TABS) != nullptr) return false;
            EXPECT_EQ(c.rows, ListView_GetItemCount(window.List())) << c.command;
            EXPECT_EQ(c.button == IDOK, window.modified) << c.command;
            const int changed = c.command == IDC_ADD ? c.rows - 1 : 0;
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
