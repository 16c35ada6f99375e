// Resource ids of Tempulo, grouped by where they are used.
#pragma once

// Application
#define IDI_TEMPULO 108
#define IDR_ACCELERATORS 120
#define IDS_TITLE 102
#define IDS_CLASSNAME 120

// Sounds (custom resource type "WAVE")
#define IDW_ALARM 401
#define IDW_TICK 402

// Main window commands
#define IDM_ABOUT 104

// Messages
#define IDS_INFORMATION 3011
#define IDS_ERROR 3012
#define IDS_ALREADY_ACTIVE 3201
#define IDS_EXPIRED 3422
#define IDS_RESET_QUESTION 3423
#define IDS_INVALID_DATE 3424
