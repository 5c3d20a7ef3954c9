// The editor opened from its template on a prepared entry and driven as a user would: what it
// stores and what loads back, the checks that keep it open on their page, the shell-document
// mode, and the tab walk between the dialog and its pages.
#include <gtest/gtest.h>

#include <direct.h>

#include <memory>

#include "EditorIds.h"
#include "Executant.h"
#include "LaunchInfoDialog.h"
#include "SettingsFile.h"
#include "SystemFunctions.h"
#include "UiScript.h"
#include "WinTestSupport.h"

namespace {

using Steps = std::vector<UiScript::Step>;

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
    struct Stored { int key; std::string saved; const char* loaded; };  // loaded: null when as saved
    // act: in the open editor; chosen: the working folder then taken with the folder chooser, if any.
    struct Case { EntrySettings keys; void (*act)(); std::string chosen; std::vector<Stored> stored; } cases[] = {
        {{{"ExecutionShowMode", "7"}}, [] {
             ::SendMessageA(Page(0, IDC_GEO_POSITION_GIVEN), BM_CLICK, 0, 0);
             ::SetWindowTextA(Own(IDC_LI_ARGUMENTS), "}");
             ::SetWindowTextA(Own(IDC_LI_WORKING_DIR), "C:\\機能\\");
         }, "", {{kKeyPosition, "0,0", nullptr}, {kKeyShowMode, "1", nullptr}, {kKeyArguments, "}", nullptr},
                 {kKeyPath, "C:\\機能", nullptr}}},
        {{}, [] {
             HWND x = Page(0, IDC_GEO_X);
             EXPECT_TRUE(Text(x) == "0" && !Enabled(x) && !Enabled(Page(0, IDC_GEO_Y))) << "no position given";
         }, kanji, {{kKeyPosition, "", "0x80000000,0x80000000"}, {kKeyPath, kanji, nullptr}}},
        {{}, [] {}, "C:\\", {{kKeyPath, "C:\\", nullptr}}},
    };
    for (const Case& c : cases) {
        auto e = Prepared(c.keys);
        EXPECT_EQ(IDOK, Edit(e, {[&] {
            c.act();
            if (c.chosen.empty()) return true;
            ::SetWindowTextA(Own(IDC_LI_WORKING_DIR), c.chosen.c_str());
            return ::PostMessageA(Own(IDC_LI_BROWSE_DIR), BM_CLICK, 0, 0) != FALSE;
        }, [&] {
            HWND chooser = ThreadDialogWith(IDC_FC_FOLDERS), name = ::GetDlgItem(chooser, IDC_FC_FILE_NAME);
            if (c.chosen.empty() || chooser == nullptr) return c.chosen.empty();
            EXPECT_EQ(dialog->Handle(), ::GetWindow(chooser, GW_OWNER));
            EXPECT_TRUE(!::IsWindowVisible(name) && Text(name) == "Vorn");
            EXPECT_EQ(::GetDlgItem(chooser, IDC_FC_FOLDERS), ::GetFocus());
            return ::PostMessageA(chooser, WM_COMMAND, IDOK, 0) != FALSE;
        }, [&] {
            if (ThreadDialogWith(IDC_FC_FOLDERS) != nullptr) return false;
            EXPECT_STREQ(current, _getcwd(now, sizeof(now)));
            return ::SendMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0) >= 0;
        }}));
        for (const Stored& s : c.stored) {
            EXPECT_EQ(s.loaded ? s.loaded : s.saved, LoadedBack(e, s.key, file)) << ReadTextFile(file);
            EXPECT_EQ(s.saved, Setting(*e, s.key));
        }
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
        // The other page is in front when OK is pressed.
        script.Then([&] {
            ShowTab(1 - c.page);
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
    // Without a program the document is the file name, so the entry loads back.
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
    for (const Move& m : moves) {
        auto control = [&m](int id) { return id < 0 ? Own(-id) : Page(m.page, id); };
        steps.push_back([&m, control] {
            ShowTab(m.page);
            ::SetFocus(control(m.from));
            PostKey(::GetFocus(), VK_TAB, m.shift);
            return true;
        });
        steps.push_back([&m, control] {
            EXPECT_EQ(control(m.to), ::GetFocus()) << m.page << " " << m.from;
            return true;
        });
    }
    steps.push_back([] { return ::PostMessageA(Own(IDCANCEL), BM_CLICK, 0, 0) != FALSE; });
    EXPECT_EQ(IDCANCEL, Edit(e, steps));
}

}  // namespace
