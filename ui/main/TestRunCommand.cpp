// The test run: other windows put away, the list test-launched, ended and the windows back.
#include "ExecutantListDialog.h"

void ExecutantListDialog::OnTestRun() {}
