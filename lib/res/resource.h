// Resource ids of PictavoLib64.
#pragma once

// Library frame
#define IDI_PICTAVOLIB 107
#define IDS_LIBNAME 120

// About box
#define IDD_LIBABOUT 103
#define IDC_LIBABOUT_ICON 80
#define IDC_LIBABOUT_TITLE 1000
#define IDC_LIBABOUT_COPYRIGHT 1001
#define IDC_LIBABOUT_HOMEPAGE 1002

// Texts kept for callers; the library itself does not load them
#define IDS_LIB_INFORMATION 3011
#define IDS_LIB_ERROR 3012
#define IDS_LIB_MISSING_LIBRARY 3020
#define IDS_LIB_MISSING_CLASS 3021

// Imaging: names of the picture fit modes (ImageHelper::Adjustment)
#define IDS_ADJUST_CENTERED 3420
#define IDS_ADJUST_FILLED 3421
#define IDS_ADJUST_ADJUSTED 3422
#define IDS_ADJUST_STRETCHED 3423
