// Adding and editing one executant with the launch-information dialog.
#include "ExecutantListDialog.h"

#include <new>

#include "Executant.h"
#include "LaunchInfoDialog.h"

void ExecutantListDialog::OnAdd()
{
    Executant* added = new (std::nothrow) Executant;
    if (added == nullptr) return;
    // A new record has no file name yet, so Validate refuses it and adds no defaults; the
    // typed fields come out as those of an empty record all the same.
    added->Validate();
    added->ApplySettings();

    LaunchInfoDialog editor;
    editor.executant = added;
    // Owned by this window, which stays disabled: nothing can touch the list meanwhile.
    if (editor.DoModal(Handle()) != IDOK) {
        delete added;
        return;
    }
    if (head == nullptr) {
        head = added;
    } else {
        head->InsertBefore(added);
    }
    RefillList();
    modified = true;
}

void ExecutantListDialog::OnEditEntry()
{
    std::vector<Executant*> selection;
    if (GetSelection(selection) != 1) return;

    LaunchInfoDialog editor;
    editor.executant = selection[0];
    if (editor.DoModal(Handle()) != IDOK) return;
    RefillList();
    Reselect(selection);
    UpdateButtons();
    modified = true;
}
