// The common controls' window classes (list view, tab control), registered when the first
// window opens: the unattended start shows no window and skips the cost.
#pragma once

void EnsureCommonControls();
