// Identifiers of the program-wide resources (the application icon).
#pragma once

#define IDR_MAINFRAME 128

// Controls the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
