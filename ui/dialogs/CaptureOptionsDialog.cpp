#include "CaptureOptionsDialog.h"

#include "DataExchange.h"
#include "ExecutantListDialog.h"
#include "SmallDialogIds.h"

namespace {
struct FlagField {
    bool CaptureOptionsDialog::*field;
    std::uint32_t bit;
};
// The flags whose field mirrors one bit; the list-mode pair is handled on its own.
const FlagField kFlagFields[] = {
    {&CaptureOptionsDialog::ignoreProgramManager, SKIP_PROGMAN},
    {&CaptureOptionsDialog::captureMinimised, CAPTURE_ICONIC},
    {&CaptureOptionsDialog::captureUntitled, CAPTURE_UNTITLED},
    {&CaptureOptionsDialog::ignoreSelf, SKIP_SELF},
    {&CaptureOptionsDialog::captureDisabled, CAPTURE_DISABLED},
    {&CaptureOptionsDialog::takePriority, TAKE_PRIORITY},
    {&CaptureOptionsDialog::captureZeroSize, CAPTURE_ZERO_SIZE},
    {&CaptureOptionsDialog::takeSize, TAKE_SIZE},
};
}  // namespace

CaptureOptionsDialog::CaptureOptionsDialog()
    : Dialog(IDD_CAPTURE_OPTIONS),
      ignoreProgramManager(false),
      captureMinimised(false),
      ignoreRegistered(false),
      captureUntitled(false),
      ignoreSelf(false),
      listMode(-1),
      captureDisabled(false),
      takePriority(false),
      captureZeroSize(false),
      takeSize(false),
      flags(kDefaultCaptureFlags)
{
}

void CaptureOptionsDialog::DoDataExchange(DataExchange& dx)
{
    dx.Check(IDC_CAP_SKIP_PROGMAN, ignoreProgramManager);
    dx.Check(IDC_CAP_ICONIC, captureMinimised);
    dx.Check(IDC_CAP_SKIP_REGISTERED, ignoreRegistered);
    dx.Check(IDC_CAP_UNTITLED, captureUntitled);
    dx.Check(IDC_CAP_SKIP_SELF, ignoreSelf);
    dx.Radio(IDC_CAP_REBUILD, listMode);
    dx.Check(IDC_CAP_DISABLED, captureDisabled);
    dx.Check(IDC_CAP_TAKE_PRIORITY, takePriority);
    dx.Check(IDC_CAP_ZERO_SIZE, captureZeroSize);
    dx.Check(IDC_CAP_TAKE_SIZE, takeSize);
}

BOOL CaptureOptionsDialog::OnInitDialog()
{
    ReadWord();
    ApplyEnableRule();
    return TRUE;
}

void CaptureOptionsDialog::ReadWord()
{
    if (flags & LIST_REBUILD) {
        listMode = 0;
        ignoreRegistered = false;
    } else {
        listMode = 1;
        ignoreRegistered = (flags & LIST_SKIP_REGISTERED) != 0;
    }
    for (const FlagField& f : kFlagFields) this->*f.field = (flags & f.bit) != 0;
    UpdateData(false);
}

void CaptureOptionsDialog::WriteWord()
{
    flags = 0;
    if (listMode == 0) {
        flags |= LIST_REBUILD;
    } else if (ignoreRegistered) {
        flags |= LIST_SKIP_REGISTERED;
    }
    for (const FlagField& f : kFlagFields) {
        if (this->*f.field) flags |= f.bit;
    }
}

void CaptureOptionsDialog::ApplyEnableRule() { ::EnableWindow(Item(IDC_CAP_SKIP_REGISTERED), listMode == 1); }

void CaptureOptionsDialog::CloseWith(int result)
{
    if (!UpdateData(true)) return;
    WriteWord();
    EndDialog(result);
}

bool CaptureOptionsDialog::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_CAP_DEFAULT:
        flags = kDefaultCaptureFlags;
        ReadWord();
        ApplyEnableRule();
        return true;
    case IDC_CAP_REBUILD:
    case IDC_CAP_KEEP:
        if (UpdateData(true)) ApplyEnableRule();
        return true;
    case IDC_CAP_ALL:
    case IDC_CAP_MOUSE:
        CloseWith(id);
        return true;
    default:
        return false;
    }
}
