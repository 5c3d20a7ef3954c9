// The main window opened from its template and driven as a user would: moving, deleting,
// adding and editing rows, the marks of the rows, and the commands that ask or report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorIds.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "MainWindowIds.h"
#include "SettingsFile.h"
#include "UiScript.h"
#include "WinTestSupport.h"

namespace {

Executant* Ring(const std::vector<EntrySettings>& entries)
{
    Executant* head = MakeExecutant(entries[0]).release();
    for (size_t i = 1; i < entries.size(); ++i) head->InsertBefore(MakeExecutant(entries[i]).release());
    return head;
}

// A ring of programs named by letters, in order.
Executant* Ring(const std::string& names)
{
    std::vector<EntrySettings> entries;
    for (char c : names) entries.push_back({{"ExecutionFileName", std::string("C:\\t\\") + c + ".exe"}});
    return Ring(entries);
}

// The window on a ring; the script ends it without questions.
class MainWindowTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteRing(window.head); }
    void Run(UiScript& script)
    {
        // Only once nothing else is open: a dialog left over would keep the window's loop waiting.
        script.Then([this] {
            if (::GetActiveWindow() != window.Handle()) return false;
            window.EndDialog(IDOK);
            return true;
        });
        script.Start();
        ASSERT_EQ(IDOK, window.DoModal(nullptr));
    }
    // The first letters of the rows' module names.
    std::string Order()
    {
        std::string names;
        for (int row = 0; row < ListView_GetItemCount(window.List()); ++row) names += CellText(window.List(), row, 0)[0];
        return names;
    }
    void Select(const std::string& letters)
    {
        for (int row = 0; row < ListView_GetItemCount(window.List()); ++row) {
            const bool on = letters.find(CellText(window.List(), row, 0)[0]) != std::string::npos;
            ListView_SetItemState(window.List(), row, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
        }
    }
    void Command(int id) { ::SendMessageA(window.Handle(), WM_COMMAND, id, 0); }
    ExecutantListDialog window;
};

TEST_F(MainWindowTest, RowsShowEveryMarkAndMovesFollowTheirRules)
{
    window.head = Ring({
        {{"ExecutionFileName", "C:\\tools\\app.exe"}, {"ExecutionPath", "C:\\Tools\\"}, {"ExecutionInitialOnce", "1"},
         {"ExecutionPriority", "0x23"}, {"ExecutionPosition", "-8,-8"}, {"ExecutionSize", "800,600"},
         {"ExecutionArguments", "x"}},
        {{"ExecutionFileName", "C:\\tools\\app.exe"}, {"ExecutionPath", "D:\\Work"}, {"ExecutionPriority", "0x10"}},
        // A document opened through the shell: its name shows, its arguments never count.
        {{"ExecutionFileName", "C:\\windows\\notepad.exe"}, {"ExecutionShellExec", "1"},
         {"ExecutionArguments", "C:\\docs\\memo.txt"}, {"ExecutionPriority", "0x45"}},
        // 能 ends in byte 0x5C: a plain search for the separator would cut the name there. No such file.
        {{"ExecutionFileName", "C:\\機能\\app.exe"}, {"ExecutionPath", "C:\\機能"}, {"ExecutionPriority", "0x02"}},
        // A drive root, written without its separator: the same folder.
        {{"ExecutionFileName", "C:\\app.exe"}, {"ExecutionPath", "C:"}},
    });
    const char* expected[][7] = {
        {"app.exe", "×", "○", "-8,-8", "800X600", "普通+0", "■"},
        {"app.exe", "○", "◆", "---", "---", " 低   ", "－"},
        {"memo.txt", "○", "－", "---", "---", "????+2", "－"},
        {"app.exe", "○", "○", "---", "---", "継承-1", "－"},
        {"app.exe", "○", "○", "---", "---", "継承  ", "－"},
    };
    UiScript script;
    script.Then([&] {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 7; ++column) {
                EXPECT_EQ(expected[row][column], CellText(window.List(), row, column)) << row << "," << column;
                // Also on a scaled screen (ui_tests_scaled), where the font grows.
                EXPECT_LT(ListView_GetStringWidth(window.List(), expected[row][column]),
                          ListView_GetColumnWidth(window.List(), column)) << row << "," << column << " is cut";
            }
            // Only notepad exists, so it alone has an icon.
            item.iItem = row;
            EXPECT_TRUE(ListView_GetItem(window.List(), &item));
            EXPECT_EQ(row == 2 ? 0 : -1, item.iImage) << row;
        }
        return true;
    });
    // Without a selection the list turns; a whole selection turns over; a selected block
    // that touches its end stays.
    struct Case { const char* list; const char* selected; int command; const char* expected; } cases[] = {
        {"abc", "", IDC_MOVE_UP, "bca"},       {"abc", "", IDC_MOVE_DOWN, "cab"},
        {"abcd", "abcd", IDC_MOVE_UP, "dcba"}, {"abcd", "abcd", IDC_MOVE_DOWN, "dcba"},
        {"abcd", "bc", IDC_MOVE_UP, "bcad"},   {"abcd", "ac", IDC_MOVE_UP, "acbd"},
        {"abcd", "cd", IDC_MOVE_DOWN, "abcd"}, {"abcd", "ab", IDC_MOVE_DOWN, "cabd"},
        {"ab", "b", IDC_MOVE_UP, "ba"},        {"ab", "a", IDC_MOVE_DOWN, "ba"},
        {"a", "a", IDC_MOVE_UP, "a"},          {"abcd", "ab", IDC_MOVE_UP, "abcd"},
    };
    for (const Case& c : cases) {
        script.Then([&] {
            DeleteRing(window.head);
            window.head = Ring(c.list);
            window.RefillList();
            Select(c.selected);
            window.modified = false;
            Command(c.command);
            EXPECT_EQ(c.expected, Order()) << c.list << " " << c.selected;
            EXPECT_EQ(std::string(c.selected).size(), ListView_GetSelectedCount(window.List())) << c.list;
            EXPECT_EQ(std::string(c.list).size() > 1, window.modified) << c.list;
            return true;
        });
    }
    Run(script);
}

TEST_F(MainWindowTest, ButtonsAddEditAndDeleteFollowTheSelection)
{
    window.head = Ring("abcde");
    // selected: rows selected before the command; button: pressed in the editor, 0 when none may open.
    struct Case { int command; const char* selected; int button; const char* order; } cases[] = {
        {IDC_ADD, "", IDCANCEL, "abcde"},   {IDC_ADD, "", IDOK, "abcden"},
        {IDC_EDIT_ENTRY, "ab", 0, "abcden"}, {IDC_EDIT_ENTRY, "b", IDOK, "ancden"},
    };
    UiScript script;
    for (const Case& c : cases) {
        script.Then([&] {
            Select(c.selected);
            const size_t selected = std::string(c.selected).size();
            EXPECT_EQ(selected == 1, ::IsWindowEnabled(window.Item(IDC_EDIT_ENTRY)) != FALSE) << c.selected;
            EXPECT_EQ(selected > 0, ::IsWindowEnabled(window.Item(IDC_DELETE)) != FALSE) << c.selected;
            window.modified = false;
            return ::PostMessageA(window.Handle(), WM_COMMAND, c.command, 0) != FALSE;
        }).Then([&] {
            HWND editor = ::GetActiveWindow() != window.Handle() ? ::GetActiveWindow() : nullptr;
            EXPECT_TRUE(c.button != 0 || editor == nullptr) << "edit needs exactly one row";
            if (c.button == 0 || editor == nullptr) return c.button == 0;
            ::SetDlgItemTextA(editor, IDC_LI_FILE_NAME, "C:\\t\\new.exe");
            return ::PostMessageA(::GetDlgItem(editor, c.button), BM_CLICK, 0, 0) != FALSE;
        }).Then([&] {
            if (::GetActiveWindow() != window.Handle()) return false;
            EXPECT_EQ(c.order, Order()) << c.command;
            EXPECT_EQ(c.button == IDOK, window.modified) << c.command;
            return true;
        });
    }
    script.Then([&] {
        Select("an");
        window.modified = false;
        Command(IDC_DELETE);
        EXPECT_EQ("cde", Order());
        EXPECT_TRUE(window.modified);
        EXPECT_FALSE(::IsWindowEnabled(window.Item(IDC_EDIT_ENTRY)) || ::IsWindowEnabled(window.Item(IDC_DELETE)));
        // One row deleted, the next takes its place in the selection; after the last there is none.
        Select("d");
        Command(IDC_DELETE);
        EXPECT_EQ(1, ListView_GetNextItem(window.List(), -1, LVNI_SELECTED));
        Command(IDC_DELETE);
        EXPECT_EQ("c", Order());
        EXPECT_EQ(-1, ListView_GetNextItem(window.List(), -1, LVNI_SELECTED));
        EXPECT_FALSE(::IsWindowEnabled(window.Item(IDC_EDIT_ENTRY)) || ::IsWindowEnabled(window.Item(IDC_DELETE)));
        Select("c");
        Command(IDC_DELETE);
        EXPECT_EQ(nullptr, window.head);
        EXPECT_EQ(0, ListView_GetItemCount(window.List()));
        return true;
    });
    Run(script);
}

// Commands that ask or report, answered as a user would; each leaves what it must.
TEST_F(MainWindowTest, CommandsAskAndReportAndKeepTheListOnFailure)
{
    TempFolder folder;
    const std::string saved = folder.File("list.ini");
    window.head = Ring("ab");
    UiScript script;
    std::vector<std::pair<std::string, std::string>> expected;  // text and icon of each box
    // With the list changed and `name` typed (if any), `command` shows a box that `button` answers (if any).
    auto ask = [&](const std::string& name, int command, int button = 0, const std::string& text = "",
                   const char* icon = "") {
        script.Then([this, name, command] {
            if (!name.empty()) ::SetDlgItemTextA(window.Handle(), IDC_SETTINGS_FILE, name.c_str());
            window.modified = true;
            return ::PostMessageA(window.Handle(), WM_COMMAND, command, 0) != FALSE;
        });
        if (button != 0) {
            script.Answer(button);
            expected.push_back({text, icon});
        }
    };
    const std::string exitPrompt = std::string("変更内容が保存されていません. 保存してから終了しますか？\r\n") +
                                   "\t[はい]\t保存終了します\r\n\t[いいえ]\t破棄終了します\r\n\t[ｷｬﾝｾﾙ]\t中止します\r\n";
    ask(folder.File("none\\b.ini"), ID_FILE_EXIT, IDCANCEL, exitPrompt, "question");
    // Yes saves first; that save fails, and the window stays open for the steps that follow.
    ask("", ID_FILE_EXIT, IDYES, exitPrompt, "question");
    script.Answer(IDOK);
    expected.push_back({"ﾌｧｲﾙが作成できませんでした.", "warning"});
    ask("", ID_LAUNCH_SELECTED, IDOK, "ﾘｽﾄが未選択です", "warning");
    ask("", ID_LAUNCH_ALL, IDNO, "ﾘｽﾄのｱﾌﾟﾘｹｰｼｮﾝを全部起動しますか?", "question");
    ask(saved, ID_FILE_SAVE, IDOK, "保存しました.", "information");
    script.Then([&] { return !window.modified; });
    // No help file beside the test program.
    ask("", ID_HELP_HTML, IDOK, "ﾍﾙﾌﾟﾌｧｲﾙが見つかりません.", "none");
    // The main window's Ctrl+O must not act inside one of its dialogs (its box would stall the
    // script), but acts on its own: the changed list is not discarded unasked.
    ask("", ID_HELP_ABOUT);
    script.Then([&] {
        HWND about = ::GetActiveWindow();
        if (about == window.Handle()) return false;
        PostKey(about, 'O', false, true);
        return ::PostMessageA(about, WM_COMMAND, IDOK, 0) != FALSE;
    });
    script.Then([&] {
        if (::GetActiveWindow() != window.Handle()) return false;
        PostKey(window.List(), 'O', false, true);
        return true;
    }).Answer(IDNO);
    expected.push_back({"変更内容が破棄されます. 読み込みますか?", "question"});
    Run(script);
    ASSERT_EQ(expected.size(), script.Boxes().size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].first, script.Boxes()[i].text) << i;
        EXPECT_EQ(expected[i].second, script.Boxes()[i].icon) << i;
    }
    EXPECT_EQ("HELP Error", script.Boxes()[6].caption);
    EXPECT_EQ(0u, ReadTextFile(saved).find(";Lodestay\r\nFileVersion\t0x0110\r\n"));
}

}  // namespace
