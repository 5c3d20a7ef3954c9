// Adding and editing one executant with the launch-information dialog.
#include "ExecutantListDialog.h"

void ExecutantListDialog::OnAdd() {}
void ExecutantListDialog::OnEditEntry() {}
