#include "AboutDialog.h"

#include "SmallDialogIds.h"

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT) {}
