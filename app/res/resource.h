// Resource ids of Tempulo, grouped by where they are used.
#pragma once

// Application
#define IDI_TEMPULO 108
#define IDR_ACCELERATORS 120
#define IDS_TITLE 102
#define IDS_CLASSNAME 120

// Face: twelve bitmaps per set, digits 0-9, colon, point
#define IDB_SMALL_FIRST 300
#define IDB_DIGITAL_FIRST 320

// Sounds (custom resource type "WAVE")
#define IDW_ALARM 401
#define IDW_TICK 402

// Main window: the menu bar that is never loaded and the context menu
#define IDR_MAINMENU 120
#define IDR_CONTEXTMENU 131
#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_HELP 106
#define IDM_SETTINGS 140
#define IDM_ABOUT_LIBRARY 141
#define IDM_SCREENSHOT 500

// About box
#define IDD_ABOUT 103
#define IDC_ABOUT_ICON 80
#define IDC_ABOUT_TITLE 1000
#define IDC_ABOUT_LEGAL 1001
#define IDC_ABOUT_LINK 1002
#define IDC_ABOUT_SUBTITLE 1003
#define IDC_ABOUT_TEXT 1004
#define IDS_ABOUT_SUBTITLE 3000
#define IDS_ABOUT_FREEWARE 3001
#define IDS_ABOUT_SYSTEMS 3002

// Messages
#define IDS_INFORMATION 3011
#define IDS_ERROR 3012
#define IDS_ALREADY_ACTIVE 3201
#define IDS_EXPIRED 3422
#define IDS_RESET_QUESTION 3423
#define IDS_INVALID_DATE 3424
#define IDS_SCREENSHOT_MENU 3430
#define IDS_SCREENSHOT_FAILED 3431
