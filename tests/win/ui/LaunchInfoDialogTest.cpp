// The editor opened from its template on a prepared entry and driven as a user would: what it
// stores, the shell-document mode, the tab walk between the dialog and its pages, and the
// checks that keep it open on their page.
#include <gtest/gtest.h>

#include <direct.h>

#include <map>
#include <memory>

#include "EditorIds.h"
#include "Executant.h"
#include "LaunchInfoDialog.h"
#include "SettingsFile.h"
#include "SystemFunctions.h"
#include "UiScript.h"
#include "WinTestSupport.h"

namespace {

// An entry as the settings reader makes it, for a program that need not exist.
std::unique_ptr<Executant> Prepared(EntrySettings keys)
{
    keys.insert(keys.begin(), {"ExecutionFileName", "C:\\t\\app.exe"});
    return MakeExecutant(keys);
}

std::string Text(HWND w)
{
    char text[512] = "";
    ::GetWindowTextA(w, text, sizeof(text));
    return text;
}

LaunchInfoDialog* dialog = nullptr;  // the editor that runs
HWND Own(int id) { return dialog->Item(id); }
Dialog& PageOf(int page) { return page ? static_cast<Dialog&>(dialog->controlPage) : dialog->geometryPage; }
HWND Page(int page, int id) { return PageOf(page).Item(id); }
bool Enabled(HWND control) { return ::IsWindowEnabled(control) != FALSE; }
std::string Setting(const Executant& e, int key) { return e.SettingText(key).Text(); }

// Brings a page to the front as a click on its tab does.
void ShowTab(int page)
{
    TabCtrl_SetCurSel(Own(IDC_LI_TABS), page);
    NMHDR change = {Own(IDC_LI_TABS), IDC_LI_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageA(dialog->Handle(), WM_NOTIFY, IDC_LI_TABS, reinterpret_cast<LPARAM>(&change));
}

// Opens the editor on e and runs the script inside it; the script ends it.
INT_PTR Edit(const std::unique_ptr<Executant>& e, UiScript& script)
{
    LaunchInfoDialog editor;
    editor.executant = e.get();
    dialog = &editor;
    script.Start();
    return editor.DoModal(nullptr);
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

TEST(LaunchInfoDialogTest, StoresWhatTheUserSet)
{
    TempFolder folder;
    const std::string kanji = folder.File("機能");
    ASSERT_TRUE(::CreateDirectoryA(kanji.c_str(), nullptr));
    char current[MAX_PATH] = "", now[MAX_PATH] = "";
    ASSERT_NE(nullptr, _getcwd(current, sizeof(current)));
    // act: in the open editor; chosen: the working folder then taken with the folder chooser, if any;
    // stored: settings as the entry then gives them to the settings file.
    struct Case { EntrySettings keys; void (*act)(); std::string chosen; std::map<int, std::string> stored; } cases[] = {
        {{{"ExecutionShowMode", "7"}}, [] {
             ::SendMessageA(Page(0, IDC_GEO_POSITION_GIVEN), BM_CLICK, 0, 0);
             ::SetWindowTextA(Own(IDC_LI_ARGUMENTS), "}");
             ::SetWindowTextA(Own(IDC_LI_WORKING_DIR), "C:\\機能\\");
             ::SetWindowTextA(Page(1, IDC_CTL_TIMEOUT), "99999");
         }, "", {{kKeyPosition, "0,0"}, {kKeyShowMode, "1"}, {kKeyArguments, "}"}, {kKeyPath, "C:\\機能"},
                 {kKeyInputTO, "99999"}}},
        {{}, [] {
             HWND x = Page(0, IDC_GEO_X);
             EXPECT_TRUE(Text(x) == "0" && !Enabled(x) && !Enabled(Page(0, IDC_GEO_Y))) << "no position given";
             ::SetWindowTextA(Page(1, IDC_CTL_TIMEOUT), "0");
         }, kanji, {{kKeyPosition, ""}, {kKeyPath, kanji}, {kKeyInputTO, "0"}}},
        {{}, [] {}, "C:\\", {{kKeyPath, "C:\\"}}},
    };
    for (const Case& c : cases) {
        auto e = Prepared(c.keys);
        UiScript script;
        script.Then([&] {
            c.act();
            if (c.chosen.empty()) return true;
            ::SetWindowTextA(Own(IDC_LI_WORKING_DIR), c.chosen.c_str());
            return ::PostMessageA(Own(IDC_LI_BROWSE_DIR), BM_CLICK, 0, 0) != FALSE;
        }).Then([&] {
            HWND chooser = ThreadDialogWith(IDC_FC_FOLDERS), name = ::GetDlgItem(chooser, IDC_FC_FILE_NAME);
            if (c.chosen.empty() || chooser == nullptr) return c.chosen.empty();
            EXPECT_EQ(dialog->Handle(), ::GetWindow(chooser, GW_OWNER));
            EXPECT_TRUE(!::IsWindowVisible(name) && Text(name) == "Vorn");
            EXPECT_EQ(::GetDlgItem(chooser, IDC_FC_FOLDERS), ::GetFocus());
            return ::PostMessageA(chooser, WM_COMMAND, IDOK, 0) != FALSE;
        }).Then([&] {
            if (ThreadDialogWith(IDC_FC_FOLDERS) != nullptr) return false;
            EXPECT_STREQ(current, _getcwd(now, sizeof(now)));
            return ::SendMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0) >= 0;
        });
        EXPECT_EQ(IDOK, Edit(e, script));
        EXPECT_TRUE(SaveSettingsFile(folder.File("back.ini").c_str(), e.get()));
        for (const auto& s : c.stored) EXPECT_EQ(s.second, Setting(*e, s.first)) << s.first;
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
    EXPECT_EQ(IDOK, Edit(e, script));
    EXPECT_EQ(2u, script.Boxes().size());
    EXPECT_TRUE(e->ShellExec == 1 && e->Priority == 0x30u) << "no thread priority in shell mode";
    EXPECT_TRUE(Setting(*e, kKeyInitialOnce).empty() && Setting(*e, kKeyDisableIME) == "1") << "no guard, IME kept";
    EXPECT_EQ(folder.Path(), Setting(*e, kKeyPath));
    // Without a program the document is the file name, so the entry loads back.
    EXPECT_EQ(document, e->FileName.Text());
}

// Also run as a copy of this program for which Wine reports Windows 98.
TEST(LaunchInfoDialogTest, TabWalkImeRuleAndFailedChecksThatStayOnTheirPage)
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
    UiScript script;
    script.Then([&] {
        EXPECT_EQ(win98 ? kOsWin95 : kOsNT, GetOsFamily());
        EXPECT_EQ(!win98, Enabled(Page(1, IDC_CTL_DISABLE_IME)));
        ::SendMessageA(Page(1, IDC_CTL_PRIORITY_GIVEN), BM_CLICK, 0, 0);
        EXPECT_EQ(!win98, Enabled(Page(1, IDC_CTL_DISABLE_IME))) << "after a refresh";
        return true;
    });
    for (const Move& m : moves) {
        auto control = [&m](int id) { return id < 0 ? Own(-id) : Page(m.page, id); };
        script.Then([&m, control] {
            ShowTab(m.page);
            ::SetFocus(control(m.from));
            PostKey(::GetFocus(), VK_TAB, m.shift);
            return true;
        }).Then([&m, control] {
            EXPECT_EQ(control(m.to), ::GetFocus()) << m.page << " " << m.from;
            return true;
        });
    }
    // A bad value, typed with the other page in front, keeps the editor open on its page.
    // given: the check box that enables the field first, if any.
    const struct { int page, id, given; const char* text; } fields[] = {
        {1, IDC_CTL_TIMEOUT, 0, "100000"}, {0, IDC_GEO_HEIGHT, IDC_GEO_SIZE_GIVEN, ""}};
    for (const auto& f : fields) {
        script.Then([&f] {
            if (f.given != 0) ::SendMessageA(Page(f.page, f.given), BM_CLICK, 0, 0);
            ShowTab(1 - f.page);
            ::SetWindowTextA(Page(f.page, f.id), f.text);
            return ::PostMessageA(Own(IDOK), BM_CLICK, 0, 0) != FALSE;
        }).Answer(IDOK).Then([&f] {
            EXPECT_TRUE(dialog->IsRunning() && ::IsWindowVisible(PageOf(f.page).Handle()));
            EXPECT_FALSE(::IsWindowVisible(PageOf(1 - f.page).Handle()));
            EXPECT_EQ(f.page, TabCtrl_GetCurSel(Own(IDC_LI_TABS)));
            EXPECT_EQ(Page(f.page, f.id), ::GetFocus()) << f.text;
            return true;
        });
    }
    script.Then([] { return ::PostMessageA(Own(IDCANCEL), BM_CLICK, 0, 0) != FALSE; });
    EXPECT_EQ(IDCANCEL, Edit(e, script));
    EXPECT_EQ(kDefaultInputTimeout, e->InputTimeout) << "Cancel writes nothing";
}

}  // namespace
