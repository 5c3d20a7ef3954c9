// Identifiers of the program-wide resources (the application icon).
#pragma once

#define IDR_MAINFRAME 128
