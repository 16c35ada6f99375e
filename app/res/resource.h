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

// Settings dialog: the frame with its tab control
#define IDD_SETTINGS 150
#define IDC_DEFAULTS 83
#define IDC_TABS 160
#define IDC_AUTOSTART 270
#define IDS_TAB_FIRST 3300 // five tab captions, in page order
#define IDS_RESET_SURE 3200
#define IDS_RESET_CAPTION 3202
#define IDS_RESET_TEXT 3203

// Settings page 0: display
#define IDD_PAGE_DISPLAY 170
#define IDC_FORMAT 180
#define IDC_BACKCOLOR 181
#define IDC_FACE_SMALL 182
#define IDC_FACE_DIGITAL 183
#define IDC_FACE_FONT 184
#define IDC_FONT_NAME 185
#define IDC_FONT_CHOOSE 186
#define IDC_TICK 198
#define IDC_TICK_LAST 199

// Settings page 1: calculation (the date and time edits are shared with the
// calculate-time dialog, which has the seconds edit besides)
#define IDD_PAGE_CALC 171
#define IDC_DAY 190
#define IDC_MONTH 191
#define IDC_YEAR 192
#define IDC_SELECT_DAY 193
#define IDC_HOUR 194
#define IDC_MINUTE 195
#define IDC_SECOND 196
#define IDC_CALC_TIME 197
#define IDC_ACCEPT_PAST 200
#define IDC_TASK_MARK 201
#define IDC_TASK_NOTE 202

// Settings page 2: window
#define IDD_PAGE_WINDOW 172
#define IDC_ZOOM 210
#define IDC_FRONT 211
#define IDC_USE1MONITOR 212
#define IDC_POS_LEFT 213
#define IDC_POS_HCENTER 214
#define IDC_POS_RIGHT 215
#define IDC_POS_TOP 216
#define IDC_POS_VCENTER 217
#define IDC_POS_BOTTOM 218
#define IDC_FREEPOS 219
#define IDC_TASKBAR 220

// Settings page 3: action at the end
#define IDD_PAGE_ACTION 173
#define IDC_EVENT_MESSAGE 230
#define IDC_EVENT_ACTION 231
#define IDC_SOUND 232
#define IDC_ACTION 233
#define IDC_SHOT 234
#define IDC_SHOT_FOLDER_LABEL 235
#define IDC_SHOT_FOLDER 236
#define IDC_SHOT_BROWSE 237
#define IDC_SHOT_TYPE_LABEL 238
#define IDC_SHOT_TYPE 239
#define IDS_ACTION_FIRST 3400 // four system actions, in EventNo order
#define IDS_BROWSE_TITLE 3030

// Settings page 4: scheduled task
#define IDD_PAGE_TASK 174
#define IDC_EACH_LABEL 12
#define IDC_TASK 240
#define IDC_TASK_START 241
#define IDC_TASK_LAST 242
#define IDC_TASK_EACH 243
#define IDC_START_HOUR 244
#define IDC_START_MINUTE 245
#define IDC_COUNT_HOUR 246
#define IDC_COUNT_MINUTE 247
#define IDC_MONDAY 248 // to IDC_SUNDAY, Monday first
#define IDC_SUNDAY 254
#define IDC_EACH_HOUR 255
#define IDC_EACH_MINUTE 256
#define IDS_TASK_INCOMPLETE 3425
#define IDS_TASK_SINCE_START 3426
#define IDS_TASK_SINCE_LAST 3427
#define IDS_TASK_NO_WEEKDAY 3428
#define IDS_TASK_BAD_TIME 3429

// Calculate-time dialog (its edits are IDC_DAY ... IDC_SECOND)
#define IDD_CALC_TIME 142
#define IDC_FROM_SET 260
#define IDC_FROM_NOW 261
#define IDC_PLUS 262
#define IDC_MINUS 263

// Select-day dialog
#define IDD_SELECT_DAY 143
#define IDC_SPECIAL_DAY 264
#define IDC_SPECIAL_YEAR 265
#define IDS_SPECIAL_FIRST 3410 // twelve movable days, in SpecialDaysType order
