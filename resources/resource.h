// Resource ids of Slotkeeper: templates, bitmaps, strings, other resources,
// controls and menu items. Shared by the resource script and the code.
#pragma once

// Dialog templates and other resources
#define IDD_MAIN                101
#define IDI_APP                 106
#define IDB_SKIN                108
#define IDD_DESCRIPTION         109
#define IDD_HELP                110
#define IDR_SKIN_FONT           111
#define IDD_ABOUT               112

// Strings
#define IDS_HELP_USES           1
#define IDS_HELP_HINTS          2

// IDD_MAIN controls. The ids of one slot's controls do not run in step.
#define IDC_CHARACTER_LIST      1001
#define IDC_SAVE_SLOT1          1002
#define IDC_SAVE_SLOT2          1003
#define IDC_SAVE_SLOT3          1004
#define IDC_SAVE_SLOT4          1005
#define IDC_SAVE_SLOT5          1006
#define IDC_EXIT                1007
#define IDC_LOAD_SLOT1          1009
#define IDC_LOAD_SLOT2          1010
#define IDC_LOAD_SLOT3          1011
#define IDC_DELETE_SLOT1        1012
#define IDC_LOAD_SLOT4          1013
#define IDC_LOAD_SLOT5          1014
#define IDC_ACTIVATE_GAME       1015
#define IDC_ABOUT               1016
#define IDC_INFORMATION         1017
#define IDC_DELETE_SLOT2        1018
#define IDC_DELETE_SLOT3        1019
#define IDC_DELETE_SLOT4        1020
#define IDC_DELETE_SLOT5        1021

// IDD_DESCRIPTION controls (OK is IDOK)
#define IDC_DESCRIPTION_EDIT    1008

// IDD_HELP controls
#define IDC_HELP_TEXT           1010

// IDD_ABOUT controls
#define IDC_ABOUT_NOTICE        1014
#define IDC_ABOUT_SCROLLER      1019
#define IDC_ABOUT_MAIL          1020
#define IDC_ABOUT_WEB           1021

// Context menu items of the main dialog
#define IDM_TOGGLE_GRAPHIC_MODE 1
#define IDM_MINIMIZE            2
#define IDM_CLOSE               3
