// The main window opened from its template and driven as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Executant.h"
#include "ExecutantListDialog.h"
#include "MainWindowIds.h"
#include "SettingsFile.h"
#include "TempFolder.h"
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
        {"A", "A", IDC_MOVE_UP, "A"},
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

}  // namespace
