// The main window: list view, rows, selection, moving and deleting, window messages.
#include "ExecutantListDialog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "AppResources.h"
#include "DataExchange.h"
#include "Executant.h"
#include "MainWindowIds.h"
#include "MainWindowText.h"
#include "PathText.h"
#include "SystemUtilities.h"

namespace {

struct ColumnSpec {
    const char* title;
    int format;
    int width;   // pixels of a 96-DPI screen
};
const ColumnSpec kColumns[] = {
    {"ﾓｼﾞｭｰﾙ", LVCFMT_CENTER, 140}, {"重", LVCFMT_CENTER, 30},  {"Dir", LVCFMT_CENTER, 30},
    {"位置", LVCFMT_RIGHT, 96},      {"ｻｲｽﾞ", LVCFMT_RIGHT, 80}, {"Pri", LVCFMT_CENTER, 58},
    {"引数", LVCFMT_CENTER, 42},
};

const char* ClassText(unsigned priority)
{
    switch (priority & 0xF0) {
    case 0x00: return "継承";
    case 0x10: return " 低 ";
    case 0x20: return "普通";
    case 0x30: return " 高 ";
    default: return "????";
    }
}

const char* ThreadText(unsigned priority)
{
    static const char* const kTexts[] = {"  ", "-2", "-1", "+0", "+1", "+2"};
    const unsigned code = priority & 0x0F;
    return code < 6 ? kTexts[code] : "??";
}

// Folder comparison of the Dir column: one trailing separator off, ASCII letters folded. A
// drive root loses its separator too: files hold "C:" for a program in "C:\", and the mark
// must call that its own folder.
std::string ComparableFolder(std::string folder)
{
    StripTrailingSeparator(folder);
    if (folder.size() == 3 && folder[1] == ':' && LastSeparator(folder.c_str()) == &folder[2]) folder.erase(2);
    FoldAsciiLower(&folder[0]);
    return folder;
}

const char* DirectoryMark(const Executant& executant, const char* modulePath)
{
    const KeyValueClass* entry = executant.Settings.Find("ExecutionPath");
    if (entry == nullptr || entry->value.IsEmpty()) return MainText::kNone;
    const bool same = ComparableFolder(entry->value.Text()) == ComparableFolder(FolderPart(modulePath));
    return same ? MainText::kDirSame : MainText::kDirChanged;
}

void SetCell(HWND list, int row, int column, const char* text)
{
    ListView_SetItemText(list, row, column, const_cast<char*>(text));
}

// The program is DPI aware, so on a scaled screen its dialogs and their font grow: the column
// widths must grow with them, or every cell is cut short. This is the system DPI, which the
// main window has unless it opens on a monitor of another scale.
int ScaledToScreen(HWND window, int pixels)
{
    HDC dc = ::GetDC(window);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(window, dc);
    return ::MulDiv(pixels, dpi, 96);
}

HIMAGELIST NewIconList() { return ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4); }

}  // namespace

ExecutantListDialog::ExecutantListDialog()
    : Dialog(IDD_EXECUTANT_LIST),
      head(nullptr),
      modified(false),
      captureArmed(false),
      captureFlags(0),
      icon_(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      accelerators_(nullptr),
      cachedIcons_(nullptr),
      redrawLocks_(0)
{
}

ExecutantListDialog::~ExecutantListDialog() = default;

void ExecutantListDialog::DoDataExchange(DataExchange& dx) { dx.Text(IDC_SETTINGS_FILE, settingsFileName); }

BOOL ExecutantListDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    TrimSystemMenu(Handle());
    ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    accelerators_ = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_ACCELERATORS));

    HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(sizeof(kColumns) / sizeof(kColumns[0])); ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = ScaledToScreen(list, kColumns[i].width);
        column.pszText = const_cast<char*>(kColumns[i].title);
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
    }
    ListView_SetImageList(list, NewIconList(), LVSIL_SMALL);

    settingsFileName = FullPath(settingsFileName);

    captureFlags = kDefaultCaptureFlags;
    if (head == nullptr) InitialCapture();
    RefillList();
    UpdateData(false);
    modified = false;
    captureArmed = false;
    // The list has the focus (RefillList gave it); the system must not move it.
    return FALSE;
}

void ExecutantListDialog::OnDestroy()
{
    EndCapturePick();
    if (HIMAGELIST icons = ListView_SetImageList(List(), nullptr, LVSIL_SMALL)) ImageList_Destroy(icons);
    if (accelerators_ != nullptr) ::DestroyAcceleratorTable(accelerators_);
    accelerators_ = nullptr;
}

void ExecutantListDialog::RefillList()
{
    HWND list = List();
    const int top = ListView_GetTopIndex(list);
    const int left = ::GetScrollPos(list, SB_HORZ);

    LockDrawing(true);
    ListView_DeleteAllItems(list);
    // The new list is installed before the old one goes, so the view never holds a dead one.
    // The view shares its lists (LVS_SHAREIMAGELISTS): only this window destroys them.
    HIMAGELIST icons = NewIconList();
    if (HIMAGELIST old = ListView_SetImageList(list, icons, LVSIL_SMALL)) ImageList_Destroy(old);
    iconCache_.clear();
    cachedIcons_ = icons;

    for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) AddRow(icons, e);

    RECT row = {};
    const int rowHeight = ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS) ? row.bottom - row.top : 0;
    ListView_Scroll(list, left, top * rowHeight);
    LockDrawing(false);
    ::SetFocus(list);
    // Emptying the view drops the selection without an item-changed notice under Wine.
    UpdateButtons();
}

void ExecutantListDialog::AddRow(HIMAGELIST icons, Executant* executant)
{
    HWND list = List();
    const char* modulePath = executant->ShellExec ? executant->Arguments.Text() : executant->FileName.Text();

    int image = 0;
    if (icons != nullptr) {
        // Reading an icon loads the whole program file: once per file and icon list is enough.
        std::string key(executant->FileName.Text());
        FoldAsciiLower(&key[0]);
        const auto known = iconCache_.find(key);
        if (icons == cachedIcons_ && known != iconCache_.end()) {
            image = known->second;
        } else {
            image = -1;
            HICON small = nullptr;
            // A missing file answers UINT_MAX and leaves the handle alone; no icon answers 0.
            const UINT found = ::ExtractIconExA(executant->FileName.Text(), 0, nullptr, &small, 1);
            if (found != 0 && found != UINT_MAX && small != nullptr) {
                image = ImageList_ReplaceIcon(icons, -1, small);
            }
            if (small != nullptr) ::DestroyIcon(small);
            if (icons != cachedIcons_) iconCache_.clear();
            cachedIcons_ = icons;
            iconCache_[key] = image;
        }
    }

    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(FileNamePart(modulePath));
    item.iImage = image;
    item.lParam = reinterpret_cast<LPARAM>(executant);
    const int row = ListView_InsertItem(list, &item);
    if (row < 0) return;

    const KeyValueClass* once = executant->Settings.Find("ExecutionInitialOnce");
    const bool refused = once != nullptr && std::atoi(once->value.Text()) != 0;
    SetCell(list, row, 1, refused ? MainText::kDuplicateRefused : MainText::kDuplicateAllowed);
    SetCell(list, row, 2, DirectoryMark(*executant, modulePath));

    char text[64];
    if (executant->HasPosition) {
        std::snprintf(text, sizeof(text), "%d,%d", executant->PositionX, executant->PositionY);
        SetCell(list, row, 3, text);
    } else {
        SetCell(list, row, 3, MainText::kNotSet);
    }
    if (executant->HasSize) {
        std::snprintf(text, sizeof(text), "%dX%d", executant->Width, executant->Height);
        SetCell(list, row, 4, text);
    } else {
        SetCell(list, row, 4, MainText::kNotSet);
    }
    std::snprintf(text, sizeof(text), "%s%s", ClassText(executant->Priority), ThreadText(executant->Priority));
    SetCell(list, row, 5, text);
    const bool arguments = !executant->ShellExec && !executant->Arguments.IsEmpty();
    SetCell(list, row, 6, arguments ? MainText::kArgumentsGiven : MainText::kNone);
}

int ExecutantListDialog::GetSelection(std::vector<Executant*>& selection)
{
    selection.clear();
    HWND list = List();
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        if (ListView_GetItem(list, &item)) selection.push_back(reinterpret_cast<Executant*>(item.lParam));
    }
    return static_cast<int>(selection.size());
}

void ExecutantListDialog::Reselect(const std::vector<Executant*>& selection)
{
    HWND list = List();
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        ListView_GetItem(list, &item);
        const bool selected =
            std::find(selection.begin(), selection.end(), reinterpret_cast<Executant*>(item.lParam)) != selection.end();
        ListView_SetItemState(list, row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
}

void ExecutantListDialog::UpdateButtons()
{
    const UINT selected = ListView_GetSelectedCount(List());
    ::EnableWindow(Item(IDC_EDIT_ENTRY), selected == 1);
    ::EnableWindow(Item(IDC_DELETE), selected >= 1);
}

void ExecutantListDialog::SelectAll()
{
    ListView_SetItemState(List(), -1, LVIS_SELECTED, LVIS_SELECTED);
    ::SetFocus(List());
}

void ExecutantListDialog::Deselect() { ListView_SetItemState(List(), -1, 0, LVIS_SELECTED); }

void ExecutantListDialog::RebuildReversed(const std::vector<Executant*>& selection)
{
    // Every executant is in the selection, so the ring can be taken apart and rebuilt.
    for (Executant* e : selection) e->Unlink();
    Executant* first = selection.front();
    for (size_t i = 1; i < selection.size(); ++i) first->InsertAfter(selection[i]);
    head = static_cast<Executant*>(first->Next() != nullptr ? first->Next() : first);
}

void ExecutantListDialog::LockDrawing(bool lock)
{
    // Locks nest: a refill inside a move must not redraw before the selection is back.
    if (lock ? redrawLocks_++ > 0 : --redrawLocks_ > 0) return;
    ::SendMessageA(List(), WM_SETREDRAW, lock ? FALSE : TRUE, 0);
    if (!lock) ::InvalidateRect(List(), nullptr, TRUE);
}

void ExecutantListDialog::FinishMove(const std::vector<Executant*>& selection)
{
    LockDrawing(true);
    RefillList();
    Reselect(selection);
    LockDrawing(false);
    modified = true;
}

void ExecutantListDialog::Move(bool up)
{
    const int count = ListView_GetItemCount(List());
    if (count <= 1 || head == nullptr) {
        ::SetFocus(List());
        return;
    }
    std::vector<Executant*> selection;
    const int selected = GetSelection(selection);
    if (selected == 0) {
        head = static_cast<Executant*>(up ? head->Next() : head->Prev());
    } else if (selected == count) {
        RebuildReversed(selection);
    } else if (up) {
        for (size_t i = 0; i < selection.size(); ++i) {
            Executant* moving = selection[i];
            if (moving == head) continue;
            Executant* above = static_cast<Executant*>(moving->Prev());
            // A selected block that touches the top stays together.
            if (i > 0 && above == selection[i - 1]) continue;
            moving->Unlink();
            above->InsertBefore(moving);
            if (above == head) head = moving;
        }
    } else {
        const bool firstWasHead = selection.front() == head;
        for (size_t i = selection.size(); i-- > 0;) {
            Executant* moving = selection[i];
            Executant* below = static_cast<Executant*>(moving->Next());
            if (below == head) continue;  // the last of the list
            if (i + 1 < selection.size() && below == selection[i + 1]) continue;
            if (count == 2) continue;
            moving->Unlink();
            below->InsertAfter(moving);
        }
        if (firstWasHead) head = static_cast<Executant*>(selection.front()->Prev());
    }
    FinishMove(selection);
}

void ExecutantListDialog::DeleteSelected()
{
    std::vector<Executant*> selection;
    const int selected = GetSelection(selection);
    if (selected == 0) return;
    HWND list = List();
    const int remembered = selected == 1 ? ListView_GetNextItem(list, -1, LVNI_SELECTED) : -1;

    for (Executant* e : selection) {
        // The head moves on before the node is taken out and freed.
        if (e == head) head = static_cast<Executant*>(e->Next());
        e->Unlink();
        delete e;
    }
    RefillList();
    if (remembered >= 0 && remembered < ListView_GetItemCount(list)) {
        ListView_SetSelectionMark(list, remembered);
        ListView_SetItemState(list, remembered, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    modified = true;
}

bool ExecutantListDialog::PreTranslateMessage(MSG* msg)
{
    if (accelerators_ != nullptr && ::TranslateAcceleratorA(Handle(), accelerators_, msg)) return true;
    return Dialog::PreTranslateMessage(msg);
}

bool ExecutantListDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (message) {
    case WM_PAINT: {
        if (!::IsIconic(Handle())) return false;
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(Handle(), &paint);
        ::SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client;
        ::GetClientRect(Handle(), &client);
        const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc, x, y, icon_);
        ::EndPaint(Handle(), &paint);
        result = 0;
        return true;
    }
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<INT_PTR>(icon_);
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED:
        if (captureArmed && OnCaptureMouse(message, wParam, lParam)) {
            result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool ExecutantListDialog::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom != IDC_LIST) return false;
    switch (header->code) {
    case NM_DBLCLK:
        OnEditEntry();
        return true;
    case NM_RCLICK: {
        HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_POPUP));
        POINT cursor = {};
        ::GetCursorPos(&cursor);
        if (menu != nullptr) {
            ::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, Handle(),
                             nullptr);
            ::DestroyMenu(menu);
        }
        result = 0;
        return true;
    }
    case LVN_ITEMCHANGED:
        UpdateButtons();
        return true;
    default:
        return false;
    }
}

bool ExecutantListDialog::OnCommand(int id, int code, HWND)
{
    if (id == IDC_SETTINGS_FILE) {
        if (code == EN_UPDATE && UpdateData(true)) UpdateButtons();
        return code == EN_UPDATE;
    }
    switch (id) {
    case ID_FILE_LOAD: OnLoad(); break;
    case ID_FILE_SAVE: OnSave(); break;
    case ID_FILE_EXIT: OnExit(); break;
    case ID_LIST_DESELECT: Deselect(); break;
    case ID_LIST_SELECT_ALL: SelectAll(); break;
    case ID_LAUNCH_TEST: OnTestRun(); break;
    case ID_LAUNCH_SELECTED: OnLaunchSelected(); break;
    case ID_LAUNCH_ALL: OnLaunchAll(); break;
    case ID_HELP_HTML: OnHelp(); break;
    case ID_HELP_ABOUT: OnAbout(); break;
    case IDC_BROWSE_SETTINGS: OnChooseFileName(); break;
    case IDC_CAPTURE: OnCapture(); break;
    case IDC_ADD: OnAdd(); break;
    case IDC_EDIT_ENTRY: OnEditEntry(); break;
    case IDC_MOVE_UP: MoveUp(); break;
    case IDC_MOVE_DOWN: MoveDown(); break;
    case IDC_DELETE: DeleteSelected(); break;
    default: return false;
    }
    return true;
}

void ExecutantListDialog::OnOK() { OnEditEntry(); }

void ExecutantListDialog::OnCancel() { OnExit(); }
