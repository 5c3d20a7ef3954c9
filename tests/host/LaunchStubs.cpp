// The launch engine is Windows-only; the host build links these inert definitions so that
// the record's table of operations is complete.
#include "Executant.h"

void* Executant::FindMainWindow(void*, unsigned, void*, void*) { return nullptr; }
int Executant::Launch(const char*) { return -1; }
int Executant::TestLaunch() { return -1; }
int Executant::EndApplication(unsigned) { return 0; }
int Executant::LaunchViaHelper(const char*) { return -1; }
int Executant::LaunchViaShell() { return 0; }
void Executant::ResetWindowSearch(int) {}
