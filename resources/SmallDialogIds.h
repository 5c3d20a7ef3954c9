// Identifiers of the about box, the capture options and the two test-run dialogs.
#pragma once

#define IDD_ABOUT 100
#define IDD_CAPTURE_OPTIONS 131
#define IDD_TEST_RUN 135
#define IDD_TEST_END 137

// Capture options
#define IDC_CAP_ZERO_SIZE 1021
#define IDC_CAP_ICONIC 1022
#define IDC_CAP_TAKE_PRIORITY 1023
#define IDC_CAP_SKIP_PROGMAN 1025
#define IDC_CAP_UNTITLED 1026
#define IDC_CAP_SKIP_SELF 1027
#define IDC_CAP_REBUILD 1028
#define IDC_CAP_KEEP 1029
#define IDC_CAP_TAKE_SIZE 1030
#define IDC_CAP_SKIP_REGISTERED 1031
#define IDC_CAP_DEFAULT 1032
#define IDC_CAP_ALL 1033
#define IDC_CAP_DISABLED 1034
#define IDC_CAP_MOUSE 1035

// Test run
#define IDC_TR_MINIMISE 1037
#define IDC_TR_HIDE 1038
#define IDC_TR_DELAY 1044

// Test end
#define IDC_TE_POST_CLOSE 1039
#define IDC_TE_POST_QUIT 1040
#define IDC_TE_TERMINATE 1041

#define IDS_DELAY_ITEMS 202
