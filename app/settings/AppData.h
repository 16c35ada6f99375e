// The application object, the settings record and the face layout.
#pragma once

#include <windows.h>

class CFont;
class CImage;
class CSupportedGraphic;

// Buffer capacities in characters, terminator included.
enum {
    PATH_CCH = 260,
    NAME_CCH = 100,
    FACE_CCH = 22,
    DRIVE_CCH = 4,
    FACE_IMAGE_COUNT = 13,
    CUSTOM_COLOR_COUNT = 16
};

// Stored for PositionLeft/PositionTop when no window position is known.
const int POSITION_UNKNOWN = -2147483647 - 1;

struct tSettings {
    int Tag, Monat, Jahr;
    int Stunde, Minute;
    int Sekunde;
    int LaunchTime[6]; // day, month, year, hour, minute, second
    int FontType;      // 1 small digits, 2 digital digits, 3 font text
    int TabIndex;
    COLORREF BackColor;
    COLORREF RgbColors[CUSTOM_COLOR_COUNT];
    bool IsLocalDrive;
    bool AutoStart;
    bool TickEnabled;
    bool TickAtLastSecondsEnabled;
    bool AcceptPast;
    wchar_t AppPath[PATH_CCH];
    int SpecialDay;
    int SpecialYear;
    bool SetTime;
    bool SetPlus;
    int TD_Tag, TD_Monat, TD_Jahr, TD_Stunde, TD_Minute, TD_Sekunde;
    int Event;   // 1 message, 2 system action
    int EventNo; // 0 shutdown, 1 reboot, 2 log off, 3 power save
    bool SoundEnabled;
    bool TakePrntScrn;
    int ExtensionNo;
    wchar_t PrntScrnPath[PATH_CCH];
    bool TaskEnabled;
    bool IsMo, IsDi, IsMi, IsDo, IsFr, IsSa, IsSo;
    int TaskState; // 1 after start, 2 after last count-down, 3 weekdays
    int Start_Stunde, Start_Minute;
    int Count_Stunde, Count_Minute;
    int Jeweils_Stunde, Jeweils_Minute;
    int FormatNo;
    int Zoom;
    int PosHorizontal; // 0 left, 1 centre, 2 right, -1 free
    int PosVertikal;   // 0 top, 1 centre, 2 bottom, -1 free
    int PositionLeft, PositionTop;
    bool Front;
    bool Use1Monitor;
    bool IsFreePos;
    bool ShowInTaskbar;
    bool TaskbarChanged;
};

struct tFaceLayout {
    wchar_t Format[FACE_CCH];
    wchar_t Text[FACE_CCH];
    RECT Cells[FACE_CCH];
    int OriginX, OriginY;
};

struct tAppData {
    HWND SettingsDialog;
    HINSTANCE Instance;
    wchar_t BrowseFolder[PATH_CCH];
    wchar_t RegistryKey[NAME_CCH];
    tSettings Settings;
    tSettings DialogSettings;
    wchar_t Title[NAME_CCH];
    wchar_t ClassName[NAME_CCH];
    CSupportedGraphic *SupportedGraphic;
    wchar_t DriveRoot[DRIVE_CCH];
    int FaceWidth, FaceHeight;
    bool SettingsApplied;
    CFont *Font;
    CFont *DialogFont;
    CImage *Images[FACE_IMAGE_COUNT];
    tFaceLayout *Layout;
};

// The one application object; null before CreateAppData and after
// DestroyAppData.
extern tAppData *g_App;

tAppData *CreateAppData(HINSTANCE instance);
void DestroyAppData(tAppData *app);
void ApplyDefaults(tAppData *app);
