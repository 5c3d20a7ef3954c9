// The main window opened from its template and driven as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Executant.h"
#include "ExecutantListDialog.h"
#include "MainWindowIds.h"
#include "SettingsFile.h"
#include "WinTestSupport.h"
#include "UiScript.h"

namespace {

Executant* NewExecutant(const char* fileName)
{
    Executant* e = new Executant;
    e->FileName.Assign(fileName);
    e->SetSetting(kKeyFileName, fileName);
    return e;
}

// A ring of executants named by letters, in order.
Executant* Ring(const std::string& names)
{
    Executant* head = nullptr;
    for (char c : names) {
        Executant* e = NewExecutant((std::string("C:\\t\\") + c + ".exe").c_str());
        if (head == nullptr) {
            head = e;
        } else {
            head->InsertBefore(e);
        }
    }
    return head;
}

std::string Order(ExecutantListDialog& window)
{
    std::string names;
    HWND list = window.List();
    for (int row = 0; row < ListView_GetItemCount(list); ++row) names += CellText(list, row, 0)[0];
    return names;
}

void Select(ExecutantListDialog& window, const std::string& rows)
{
    HWND list = window.List();
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        const bool on = rows.find(CellText(list, row, 0)[0]) != std::string::npos;
        ListView_SetItemState(list, row, on ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
}

void Command(ExecutantListDialog& window, int id) { ::SendMessageA(window.Handle(), WM_COMMAND, id, 0); }

// The window on a ring, closed at the end of the script without questions.
class MainWindowTest : public ::testing::Test {
protected:
    void TearDown() override { DeleteRing(window.head); }
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
    ExecutantListDialog window;
};

TEST_F(MainWindowTest, MovesFollowTheirRules)
{
    struct Case {
        const char* list;
        const char* selected;
        int command;
        const char* expected;
    } cases[] = {
        {"ABC", "", IDC_MOVE_UP, "BCA"},       {"ABC", "", IDC_MOVE_DOWN, "CAB"},
        {"ABCD", "ABCD", IDC_MOVE_UP, "DCBA"}, {"ABCD", "ABCD", IDC_MOVE_DOWN, "DCBA"},
        {"ABCD", "BC", IDC_MOVE_UP, "BCAD"},   {"ABCD", "AC", IDC_MOVE_UP, "ACBD"},
        {"ABCD", "CD", IDC_MOVE_DOWN, "ABCD"}, {"ABCD", "AB", IDC_MOVE_DOWN, "CABD"},
        {"AB", "B", IDC_MOVE_UP, "BA"},        {"AB", "A", IDC_MOVE_DOWN, "BA"},
        {"A", "A", IDC_MOVE_UP, "A"},          {"ABCD", "AB", IDC_MOVE_UP, "ABCD"},
    };
    window.head = Ring("ABCD");
    UiScript script;
    for (const Case& c : cases) {
        script.Then([&] {
            DeleteRing(window.head);
            window.head = Ring(c.list);
            window.RefillList();
            Select(window, c.selected);
            window.modified = false;
            Command(window, c.command);
            EXPECT_EQ(c.expected, Order(window)) << c.list << " " << c.selected;
            std::vector<Executant*> selection;
            EXPECT_EQ(static_cast<int>(std::string(c.selected).size()), window.GetSelection(selection));
            EXPECT_EQ(std::string(c.list).size() > 1, window.modified) << c.list;
            return true;
        });
    }
    Run(script);
}

Executant* WithSettings(const char* fileName, const char* path, const char* once, unsigned priority)
{
    Executant* e = NewExecutant(fileName);
    if (path != nullptr) e->SetSetting(kKeyPath, path);
    if (once != nullptr) e->SetSetting(kKeyInitialOnce, once);
    e->Priority = priority;
    return e;
}

int RowImage(HWND list, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    return item.iImage;
}

TEST_F(MainWindowTest, RowsShowEveryMarkTheIconAndTheModuleName)
{
    Executant* rows[] = {
        WithSettings("C:\\tools\\app.exe", "C:\\Tools\\", "1", 0x23),
        WithSettings("C:\\tools\\app.exe", "D:\\Work", "0", 0x10),
        WithSettings("C:\\windows\\notepad.exe", nullptr, nullptr, 0x45),
        // 能 ends in byte 0x5C: a plain search for the separator would cut the name there.
        WithSettings("C:\\機能\\app.exe", "C:\\機能", nullptr, 0),
        WithSettings("C:\\missing\\gone.exe", "", nullptr, 0x02),
    };
    rows[0]->HasPosition = 1, rows[0]->PositionX = -8, rows[0]->PositionY = -8;
    rows[0]->HasSize = 1, rows[0]->Width = 800, rows[0]->Height = 600;
    rows[0]->Arguments.Assign("x");
    // A document opened through the shell: its name shows, its arguments never count.
    rows[2]->ShellExec = 1;
    rows[2]->Arguments.Assign("C:\\docs\\memo.txt");
    window.head = rows[0];
    for (int i = 1; i < 5; ++i) window.head->InsertBefore(rows[i]);

    const char* expected[][7] = {
        {"app.exe", "×", "○", "-8,-8", "800X600", "普通+0", "■"},
        {"app.exe", "○", "◆", "---", "---", " 低   ", "－"},
        {"memo.txt", "○", "－", "---", "---", "????+2", "－"},
        {"app.exe", "○", "○", "---", "---", "継承  ", "－"},
        {"gone.exe", "○", "－", "---", "---", "継承-1", "－"},
    };
    UiScript script;
    script.Then([&] {
        HWND list = window.List();
        EXPECT_EQ(5, ListView_GetItemCount(list));
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 7; ++column) {
                EXPECT_EQ(expected[row][column], CellText(list, row, column)) << row << "," << column;
            }
        }
        EXPECT_LE(0, RowImage(list, 2)) << "notepad has an icon";
        EXPECT_EQ(-1, RowImage(list, 4)) << "a missing file has none";
        return true;
    });
    Run(script);
}

TEST_F(MainWindowTest, DeleteKeepsTheRowIndexAndTheButtonsFollowTheSelection)
{
    window.head = Ring("ABCDE");
    UiScript script;
    script.Then([&] {
        HWND list = window.List();
        const struct {
            const char* selected;
            bool edit, remove;
        } states[] = {{"", false, false}, {"B", true, true}, {"BD", false, true}};
        for (const auto& state : states) {
            Select(window, state.selected);
            EXPECT_EQ(state.edit, ::IsWindowEnabled(window.Item(IDC_EDIT_ENTRY)) != FALSE) << state.selected;
            EXPECT_EQ(state.remove, ::IsWindowEnabled(window.Item(IDC_DELETE)) != FALSE) << state.selected;
        }
        Select(window, "C");
        Command(window, IDC_DELETE);
        EXPECT_EQ("ABDE", Order(window));
        EXPECT_EQ(2, ListView_GetNextItem(list, -1, LVNI_SELECTED)) << "D takes C's place in the selection";
        EXPECT_TRUE(window.modified);
        Select(window, "A");
        Command(window, IDC_DELETE);
        EXPECT_EQ("BDE", Order(window));
        Select(window, "E");
        Command(window, IDC_DELETE);
        EXPECT_EQ(-1, ListView_GetNextItem(list, -1, LVNI_SELECTED)) << "no row after the last";
        Select(window, "BD");
        Command(window, IDC_DELETE);
        EXPECT_EQ(nullptr, window.head);
        EXPECT_EQ(0, ListView_GetItemCount(list));
        return true;
    });
    Run(script);
}

// Commands that ask or report, answered as a user would; each leaves what it must.
TEST_F(MainWindowTest, CommandsAskAndReportAndKeepTheListOnFailure)
{
    TempFolder folder;
    const std::string saved = folder.File("list.ini");
    const std::string partial = folder.File("partial.ini");
    WriteTextFile(partial, "keep me");
    window.head = Ring("AB");
    window.settingsFileName = saved;
    Executant* const first = window.head;
    auto post = [&](int id) {
        return [this, id] {
            ::PostMessageA(window.Handle(), WM_COMMAND, id, 0);
            return true;
        };
    };
    auto setName = [&](std::string name) {
        return [this, name] {
            ::SetDlgItemTextA(window.Handle(), IDC_SETTINGS_FILE, name.c_str());
            window.modified = true;
            return true;
        };
    };
    UiScript script;
    script.Then(setName(saved)).Then(post(ID_FILE_LOAD)).Answer(IDNO);
    script.Then(setName("a.in")).Then(post(ID_FILE_SAVE)).Answer(IDOK);
    script.Then(setName(folder.File("none\\b.ini"))).Then(post(ID_FILE_SAVE)).Answer(IDOK);
    script.Then(post(ID_FILE_EXIT)).Answer(IDCANCEL);
    script.Then(post(ID_FILE_EXIT)).Answer(IDYES).Answer(IDOK);
    script.Then([&] {
        Select(window, "");
        return true;
    });
    script.Then(post(ID_LAUNCH_SELECTED)).Answer(IDOK);
    script.Then(post(ID_LAUNCH_ALL)).Answer(IDNO);
    script.Then([&] {
        window.SetLoadedFile(partial, false);
        return true;
    });
    script.Then(setName(partial)).Then(post(ID_FILE_SAVE)).Answer(IDNO);
    script.Then(setName(saved)).Then(post(ID_FILE_SAVE)).Answer(IDOK);
    // No help file beside the test program.
    script.Then(post(ID_HELP_HTML)).Answer(IDOK);
    // The main window's Ctrl+O must not act inside one of its dialogs, but acts on its own.
    HWND about = nullptr;
    script.Then(post(ID_HELP_ABOUT)).Then([&] {
        about = ::GetActiveWindow();
        if (about == window.Handle() || about == nullptr) return false;
        window.modified = true;
        PostKey(about, 'O', false, true);
        return true;
    });
    int ticks = 0;
    script.Then([&] { return ++ticks > 10; }).Then([&] {
        EXPECT_EQ(nullptr, FindThreadMessageBox());
        ::PostMessageA(about, WM_COMMAND, IDOK, 0);
        return true;
    });
    script.Then([&] {
        if (::GetActiveWindow() != window.Handle()) return false;
        PostKey(window.List(), 'O', false, true);
        return true;
    }).Answer(IDNO);
    script.Then([&] {
        window.modified = false;
        EXPECT_TRUE(window.IsRunning());
        EXPECT_EQ(first, window.head) << "nothing was loaded or freed";
        EXPECT_EQ("AB", Order(window));
        EXPECT_FALSE(window.modified) << "the last save succeeded";
        return true;
    });
    Run(script);

    const std::vector<std::string> expected = {
        "変更内容が破棄されます. 読み込みますか?",
        "ﾌｧｲﾙ名が短すぎます.",
        "ﾌｧｲﾙが作成できませんでした.",
        std::string("変更内容が保存されていません. 保存してから終了しますか？\r\n\t[はい]\t保存終了します\r\n") +
            "\t[いいえ]\t破棄終了します\r\n\t[ｷｬﾝｾﾙ]\t中止します\r\n",
        "",  // replaced below: the exit prompt again
        "ﾌｧｲﾙが作成できませんでした.",
        "ﾘｽﾄが未選択です",
        "ﾘｽﾄのｱﾌﾟﾘｹｰｼｮﾝを全部起動しますか?",
        "",  // the question before replacing a file that was not read whole
        "保存しました.",
        "ﾍﾙﾌﾟﾌｧｲﾙが見つかりません.",
        "変更内容が破棄されます. 読み込みますか?",
    };
    std::vector<std::string> texts = script.BoxTexts();
    ASSERT_EQ(expected.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i == 4) EXPECT_EQ(expected[3], texts[i]);
        else if (i == 8) EXPECT_NE(std::string::npos, texts[i].find(partial)) << texts[i];
        else EXPECT_EQ(expected[i], texts[i]) << i;
    }
    EXPECT_STREQ("question", script.Boxes()[0].icon);
    EXPECT_STREQ("information", script.Boxes()[9].icon);
    EXPECT_EQ("HELP Error", script.Boxes()[10].caption);
    EXPECT_STREQ("none", script.Boxes()[10].icon);
    EXPECT_EQ("keep me", ReadTextFile(partial)) << "answered No: the file that was not read whole stays";
    const std::string written = ReadTextFile(saved);
    EXPECT_EQ(0u, written.find(";Lodestay\r\nFileVersion\t0x0110\r\n")) << written;
}

}  // namespace
