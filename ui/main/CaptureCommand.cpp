// Capture of running applications into the list.
#include "ExecutantListDialog.h"

#include "Executant.h"

void ExecutantListDialog::OnCapture() {}
void ExecutantListDialog::InitialCapture() {}
void ExecutantListDialog::MergeCaptured(bool, bool, Executant* captured) { DeleteRing(captured); }
bool ExecutantListDialog::OnCaptureMouse(UINT, WPARAM, LPARAM) { return false; }
void ExecutantListDialog::EndCapturePick() {}
