// The editor opened from its template on a prepared executant and driven as a user would.
#include <gtest/gtest.h>

#include <direct.h>

#include <functional>
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

// A visible dialog of this thread that holds the given control (and is not `other`).
HWND ThreadDialogWith(int id, HWND other = nullptr)
{
    struct Search { int id; HWND other; HWND found; } search = {id, other, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (w == s->other || !::IsWindowVisible(w) || ::GetDlgItem(w, s->id) == nullptr) return TRUE;
        s->found = w;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Text(HWND window)
{
    char text[512] = "";
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

void Click(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }
std::string Setting(const Executant& e, int key) { return e.SettingText(key).Text(); }

// The open dialog of this thread: types a name and confirms.
UiScript::Step ChooseFile(const std::string& path)
{
    return [path] {
        HWND dialog = ThreadDialogWith(1148);
        if (dialog == nullptr) return false;
        ::SetDlgItemTextA(dialog, 1148, path.c_str());
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    };
}

class LaunchInfoDialogTest : public ::testing::Test {
protected:
    // Opens the editor on e, runs steps inside it; OK or Cancel ends it.
    INT_PTR Edit(Executant* e, const std::vector<std::function<bool(LaunchInfoDialog&)>>& steps)
    {
        LaunchInfoDialog dialog;
        dialog.executant = e;
        UiScript script;
        for (const auto& step : steps) script.Then([&dialog, step] { return step(dialog); });
        script.Start();
        const INT_PTR result = dialog.DoModal(nullptr);
        boxes = script.BoxTexts();
        return result;
    }
    static HWND PageWindow(LaunchInfoDialog& d, int page) { return page ? d.controlPage.Handle() : d.geometryPage.Handle(); }
    static HWND Page(LaunchInfoDialog& d, int page, int id) { return ::GetDlgItem(PageWindow(d, page), id); }
    std::vector<std::string> boxes;
};

TEST_F(LaunchInfoDialogTest, StoresWhatTheUserSet)
{
    struct Case {
        const char* what;
        Keys keys;
        std::function<void(LaunchInfoDialog&)> act;
        std::function<void(const Executant&, bool edited)> check;
    } cases[] = {
        {"unset position stays unset", {}, [&](LaunchInfoDialog& d) {
             EXPECT_EQ("0", Text(Page(d, 0, IDC_GEO_X)));
             EXPECT_FALSE(::IsWindowEnabled(Page(d, 0, IDC_GEO_Y)));
         }, [](const Executant& e, bool edited) {
             EXPECT_TRUE(e.HasPosition == 0 && !e.PositionSet());
             if (edited) { EXPECT_TRUE(e.PositionX == kUnsetCoordinate && e.PositionY == kUnsetCoordinate); }
         }},
        {"position 0,0", {}, [&](LaunchInfoDialog& d) { ::SendMessageA(Page(d, 0, IDC_GEO_POSITION_GIVEN), BM_CLICK, 0, 0); },
         [](const Executant& e, bool) { EXPECT_TRUE(e.HasPosition == 1 && e.PositionX == 0 && e.PositionY == 0); }},
        {"show mode 7", {{"ExecutionShowMode", "7"}}, [&](LaunchInfoDialog& d) {
             EXPECT_EQ(BST_CHECKED, ::SendMessageA(Page(d, 0, IDC_GEO_NORMAL), BM_GETCHECK, 0, 0));
         }, [](const Executant& e, bool) { EXPECT_EQ("1", Setting(e, kKeyShowMode)); }},
        {"arguments of exactly }", {}, [&](LaunchInfoDialog& d) { ::SetDlgItemTextA(d.Handle(), IDC_LI_ARGUMENTS, "}"); },
         [](const Executant& e, bool) { EXPECT_EQ("}", std::string(e.Arguments.Text())); }},
        {"a folder under 機能", {}, [&](LaunchInfoDialog& d) { ::SetDlgItemTextA(d.Handle(), IDC_LI_WORKING_DIR, "C:\\機能\\"); },
         [](const Executant& e, bool) { EXPECT_EQ("C:\\機能", Setting(e, kKeyPath)); }},
        {"a drive root", {}, [&](LaunchInfoDialog& d) { ::SetDlgItemTextA(d.Handle(), IDC_LI_WORKING_DIR, "C:\\"); },
         [](const Executant& e, bool) { EXPECT_EQ("C:\\", Setting(e, kKeyPath)); }},
    };
    TempFolder folder;
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        Executant* e = Prepared(c.keys);
        EXPECT_EQ(IDOK, Edit(e, {[&](LaunchInfoDialog& d) { c.act(d); ::SendMessageA(d.Handle(), WM_COMMAND, IDOK, 0); return true; }}));
        c.check(*e, true);
        // What the editor stored loads back the same.
        const std::string file = folder.File("back.ini");
        ASSERT_TRUE(SaveSettingsFile(file.c_str(), e)) << c.what;
        Executant* back = LoadSettingsFile(file.c_str());
        ASSERT_NE(nullptr, back) << c.what;
        c.check(*back, false);
        DeleteRing(back);
        delete e;
    }
}

TEST_F(LaunchInfoDialogTest, FailedChecksKeepTheDialogOpenOnTheirPage)
{
    struct Case {
        int page, id;
        const char* text;
        bool passes;
    } cases[] = {
        {1, IDC_CTL_TIMEOUT, "100000", false}, {1, IDC_CTL_TIMEOUT, "99999", true},
        {1, IDC_CTL_TIMEOUT, "0", true},       {0, IDC_GEO_HEIGHT, "", false},
    };
    for (const Case& c : cases) {
        Executant* e = Prepared({{"ExecutionSize", "640,480"}});
        bool open = false;
        std::vector<std::function<bool(LaunchInfoDialog&)>> steps = {[&](LaunchInfoDialog& d) {
            // The other page is in front when OK is pressed.
            HWND tabs = d.Item(IDC_LI_TABS);
            TabCtrl_SetCurSel(tabs, 1 - c.page);
            NMHDR change = {tabs, IDC_LI_TABS, static_cast<UINT>(TCN_SELCHANGE)};
            ::SendMessageA(d.Handle(), WM_NOTIFY, IDC_LI_TABS, reinterpret_cast<LPARAM>(&change));
            ::SetWindowTextA(Page(d, c.page, c.id), c.text);
            Click(d.Item(IDOK));
            return true;
        }};
        if (!c.passes) {
            steps.push_back([](LaunchInfoDialog&) {
                if (FindThreadMessageBox() == nullptr) return false;
                ::PostMessageA(FindThreadMessageBox(), WM_COMMAND, IDOK, 0);
                return true;
            });
            steps.push_back([&](LaunchInfoDialog& d) {
                if (FindThreadMessageBox() != nullptr) return false;
                open = d.IsRunning();
                EXPECT_EQ(c.page, TabCtrl_GetCurSel(d.Item(IDC_LI_TABS))) << c.text;
                EXPECT_TRUE(::IsWindowVisible(PageWindow(d, c.page)));
                EXPECT_FALSE(::IsWindowVisible(PageWindow(d, 1 - c.page)));
                EXPECT_EQ(Page(d, c.page, c.id), ::GetFocus()) << c.text;
                d.EndDialog(IDCANCEL);
                return true;
            });
        }
        const INT_PTR result = Edit(e, steps);
        EXPECT_EQ(!c.passes, open) << c.text;
        EXPECT_EQ(c.passes ? IDOK : IDCANCEL, result) << c.text;
        // Cancel writes nothing.
        EXPECT_EQ(c.passes ? std::atoi(c.text) : kDefaultInputTimeout, e->InputTimeout) << c.text;
        delete e;
    }
}

TEST_F(LaunchInfoDialogTest, FileNameAndShellDocumentRuleTheControls)
{
    TempFolder folder;
    const std::string document = folder.File("note.lodestay-none");
    const std::string longDocument = folder.File(std::string(255 - folder.Path().size(), 'x'));
    ASSERT_EQ(256u, longDocument.size());
    ASSERT_TRUE(WriteTextFile(document, "x") && WriteTextFile(longDocument, "x"));
    Executant* e = Prepared({{"ExecutionInitialOnce", "1"}, {"ExecutionDisableIME", "1"}, {"ExecutionPriority", "0x32"}});
    int refusals = 0;
    std::vector<std::function<bool(LaunchInfoDialog&)>> steps = {
        [&](LaunchInfoDialog& d) {
            ::SetDlgItemTextA(d.Handle(), IDC_LI_FILE_NAME, "a.ex");
            EXPECT_FALSE(::IsWindowEnabled(d.Item(IDOK)));
            ::SendMessageA(d.Item(IDC_LI_FILE_NAME), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("e"));
            EXPECT_TRUE(::IsWindowEnabled(d.Item(IDOK))) << "a fifth byte enables OK at once";
            Click(d.Item(IDC_LI_SHELL));
            return true;
        },
        [&](LaunchInfoDialog&) { return ChooseFile(longDocument)(); },
        [&](LaunchInfoDialog& d) {
            if (!d.shellMode) return false;
            Click(d.Item(IDOK));
            return true;
        },
        [&](LaunchInfoDialog& d) {
            // The long path is the arguments now: the file-name update and OK both refuse it.
            if (HWND box = FindThreadMessageBox()) {
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                ++refusals;
                return false;
            }
            if (::GetFocus() != d.Item(IDC_LI_ARGUMENTS) || FindThreadMessageBox() != nullptr) return false;
            EXPECT_TRUE(d.IsRunning());
            ::SetDlgItemTextA(d.Handle(), IDC_LI_ARGUMENTS, "");
            Click(d.Item(IDC_LI_SHELL));
            return true;
        },
        [&](LaunchInfoDialog&) { return ChooseFile(document)(); },
        [&](LaunchInfoDialog& d) {
            if (d.arguments != document) return false;
            EXPECT_FALSE(::IsWindowEnabled(d.Item(IDC_LI_FILE_NAME)));
            EXPECT_TRUE(::IsWindowEnabled(d.controlPage.Item(IDC_CTL_CLASS)));
            EXPECT_FALSE(::IsWindowEnabled(d.controlPage.Item(IDC_CTL_THREAD)));
            EXPECT_FALSE(::IsWindowEnabled(d.controlPage.Item(IDC_CTL_PREVENT_DUPLICATE)));
            EXPECT_FALSE(::IsWindowEnabled(d.controlPage.Item(IDC_CTL_DISABLE_IME)));
            EXPECT_TRUE(::IsWindowEnabled(d.Item(IDOK))) << "no program found, OK all the same";
            EXPECT_EQ("", d.fileName);
            ::SendMessageA(d.Handle(), WM_COMMAND, IDOK, 0);
            return true;
        }};
    EXPECT_EQ(IDOK, Edit(e, steps));
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
    EXPECT_EQ(1, back->ShellExec);
    EXPECT_EQ(document, back->Arguments.Text());
    DeleteRing(back);
    delete e;
}

TEST_F(LaunchInfoDialogTest, TabRunsThroughTabControlPageAndFileName)
{
    struct Move {
        int page;      // tab in front
        int from;      // focused control: negative ids are the dialog's, others the page's
        bool shift;
        int to;
    } moves[] = {
        {0, -IDC_LI_TABS, false, IDC_GEO_NORMAL},
        {0, IDC_GEO_SIZE_GIVEN, false, -IDC_LI_FILE_NAME}, {0, -IDC_LI_FILE_NAME, true, IDC_GEO_SIZE_GIVEN},
        {0, IDC_GEO_NORMAL, true, -IDC_LI_TABS},         {1, -IDC_LI_TABS, false, IDC_CTL_PRIORITY_GIVEN},
        {1, IDC_CTL_TIMEOUT, false, -IDC_LI_FILE_NAME},  {1, IDC_CTL_PRIORITY_GIVEN, true, -IDC_LI_TABS},
    };
    Executant* e = Prepared({});
    std::vector<std::function<bool(LaunchInfoDialog&)>> steps;
    for (const Move& m : moves) {
        auto control = [this, m](LaunchInfoDialog& d, int id) { return id < 0 ? d.Item(-id) : Page(d, m.page, id); };
        steps.push_back([m, control](LaunchInfoDialog& d) {
            ::ShowWindow(PageWindow(d, 1 - m.page), SW_HIDE);
            ::ShowWindow(PageWindow(d, m.page), SW_SHOWNA);
            TabCtrl_SetCurSel(d.Item(IDC_LI_TABS), m.page);
            ::SetFocus(control(d, m.from));
            PostKey(::GetFocus(), VK_TAB, m.shift);
            return true;
        });
        steps.push_back([m, control](LaunchInfoDialog& d) {
            EXPECT_EQ(control(d, m.to), ::GetFocus()) << m.page << " " << m.from << (m.shift ? " shift" : "");
            return true;
        });
    }
    steps.push_back([](LaunchInfoDialog& d) { d.EndDialog(IDCANCEL); return true; });
    EXPECT_EQ(IDCANCEL, Edit(e, steps));
    delete e;
}

// Also run as a copy of this program for which Wine reports Windows 98.
TEST_F(LaunchInfoDialogTest, ImeBoxNeedsTheNtFamily)
{
    Executant* e = Prepared({{"ExecutionDisableIME", "1"}});
    const bool nt = GetOsFamily() == kOsNT;
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof(self));
    if (std::string(self).find("98.exe") != std::string::npos) {
        EXPECT_EQ(kOsWin95, GetOsFamily());
    }
    Edit(e, {[&](LaunchInfoDialog& d) {
        EXPECT_EQ(nt, ::IsWindowEnabled(d.controlPage.Item(IDC_CTL_DISABLE_IME)) != FALSE);
        ::SendMessageA(d.controlPage.Item(IDC_CTL_PRIORITY_GIVEN), BM_CLICK, 0, 0);
        EXPECT_EQ(nt, ::IsWindowEnabled(d.controlPage.Item(IDC_CTL_DISABLE_IME)) != FALSE) << "after a refresh";
        d.EndDialog(IDCANCEL);
        return true;
    }});
    delete e;
}

TEST_F(LaunchInfoDialogTest, FolderChooserKeepsRootsAndTheCurrentDirectory)
{
    TempFolder temp;
    const std::string kanji = temp.File("機能");
    ASSERT_TRUE(::CreateDirectoryA(kanji.c_str(), nullptr));
    char current[MAX_PATH] = "";
    ASSERT_NE(nullptr, _getcwd(current, sizeof(current)));
    Executant* e = Prepared({});
    for (const std::string& folder : {kanji, std::string("C:\\")}) {
        Edit(e, {[&](LaunchInfoDialog& d) {
                     ::SetDlgItemTextA(d.Handle(), IDC_LI_WORKING_DIR, folder.c_str());
                     Click(d.Item(IDC_LI_BROWSE_DIR));
                     return true;
                 },
                 [&](LaunchInfoDialog& d) {
                     HWND chooser = ThreadDialogWith(IDC_FC_FOLDERS);
                     if (chooser == nullptr) return false;
                     EXPECT_EQ(d.Handle(), ::GetWindow(chooser, GW_OWNER));
                     EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(chooser, IDC_FC_FILE_NAME)));
                     EXPECT_EQ("Vorn", Text(::GetDlgItem(chooser, IDC_FC_FILE_NAME)));
                     EXPECT_EQ(::GetDlgItem(chooser, IDC_FC_FOLDERS), ::GetFocus());
                     ::PostMessageA(chooser, WM_COMMAND, IDOK, 0);
                     return true;
                 },
                 [&](LaunchInfoDialog& d) {
                     if (ThreadDialogWith(IDC_FC_FOLDERS) != nullptr) return false;
                     EXPECT_EQ(folder, Text(d.Item(IDC_LI_WORKING_DIR)));
                     char now[MAX_PATH] = "";
                     EXPECT_STREQ(current, _getcwd(now, sizeof(now)));
                     d.EndDialog(IDCANCEL);
                     return true;
                 }});
    }
    delete e;
}

TEST(EditCommandsTest, AddAppendsOnOkOnlyAndEditNeedsOneRow)
{
    struct Case {
        int command;
        int selected;    // rows selected before the command
        int button;      // pressed in the editor; 0: no editor opens
        int rows;
        bool modified;
    } cases[] = {
        {IDC_ADD, 0, IDCANCEL, 2, false}, {IDC_ADD, 0, IDOK, 3, true},
        {IDC_EDIT_ENTRY, 2, 0, 2, false}, {IDC_EDIT_ENTRY, 1, IDOK, 2, true},
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
            ::PostMessageA(window.Handle(), WM_COMMAND, c.command, 0);
            return true;
        });
        script.Then([&] {
            HWND editor = ThreadDialogWith(IDC_LI_TABS);
            if (c.button != 0 && editor == nullptr) return false;
            EXPECT_EQ(c.button != 0, editor != nullptr);
            if (editor != nullptr) {
                EXPECT_EQ(window.Handle(), ::GetWindow(editor, GW_OWNER));
                ::SetDlgItemTextA(editor, IDC_LI_FILE_NAME, "C:\\t\\new.exe");
                Click(::GetDlgItem(editor, c.button));
            }
            return true;
        });
        script.Then([&] {
            if (ThreadDialogWith(IDC_LI_TABS) != nullptr) return false;
            EXPECT_EQ(c.rows, ListView_GetItemCount(window.List())) << c.command;
            EXPECT_EQ(c.modified, window.modified) << c.command;
            const int last = c.command == IDC_ADD ? c.rows - 1 : 0;
            EXPECT_EQ(c.button == IDOK ? "new.exe" : "app.exe", CellText(window.List(), last, 0)) << c.command;
            return true;
        });
    }
    script.Then([&] {
        window.modified = false;
        window.EndDialog(IDOK);
        return true;
    });
    script.Start();
    EXPECT_EQ(IDOK, window.DoModal(nullptr));
    DeleteRing(window.head);
}

}  // namespace
