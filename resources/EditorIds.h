// Identifiers of the launch-information dialog, its two pages and the folder chooser.
#pragma once

#define IDD_LAUNCH_INFO 129
#define IDD_FOLDER_CHOOSER 132
#define IDD_GEOMETRY_PAGE 139
#define IDD_CONTROL_PAGE 140

// Launch-information dialog
#define IDC_LI_PAGE_HOST 1006
#define IDC_LI_FILE_NAME 1007
#define IDC_LI_WORKING_DIR 1008
#define IDC_LI_ARGUMENTS 1009
#define IDC_LI_LARGE_ICON 1016
#define IDC_LI_SMALL_ICON 1017
#define IDC_LI_BROWSE_PROGRAM 1018
#define IDC_LI_BROWSE_DIR 1019
#define IDC_LI_BASE_NAME 1020
#define IDC_LI_QUICK_LAUNCH 1021
#define IDC_LI_SHELL 1022
#define IDC_LI_TABS 1053

// Geometry page
#define IDC_GEO_X 1014
#define IDC_GEO_Y 1015
#define IDC_GEO_WIDTH 1016
#define IDC_GEO_HEIGHT 1017
#define IDC_GEO_POSITION_GIVEN 1020
#define IDC_GEO_SIZE_GIVEN 1022
#define IDC_GEO_NORMAL 1025
#define IDC_GEO_MINIMISED 1026
#define IDC_GEO_MAXIMISED 1027

// Priority and control page
#define IDC_CTL_TIMEOUT 1010
#define IDC_CTL_CLASS 1011
#define IDC_CTL_THREAD 1012
#define IDC_CTL_PRIORITY_GIVEN 1023
#define IDC_CTL_PREVENT_DUPLICATE 1031
#define IDC_CTL_DISABLE_IME 1032

// Folder chooser: the ids the system's old-style open dialog fills itself.
#define IDC_FC_CURRENT_FOLDER 1088
#define IDC_FC_DRIVE_LABEL 1091
#define IDC_FC_FOLDERS 1121
#define IDC_FC_DRIVES 1137
#define IDC_FC_FILE_NAME 1152

// Combo-box items, one string each, separated by line feeds.
#define IDS_CLASS_ITEMS 200
#define IDS_THREAD_ITEMS 201
