// A user of the DLL, built with nothing but the public include folder and
// the import library. Every shipped header is included, so one that leans on
// a private header fails this build; the calls then prove that the exported
// classes work across the DLL boundary. Exit code: the number of failures.
#include "PictavoApi.h"
#include "filesystem/CArrayList.h"
#include "filesystem/CFileList.h"
#include "filesystem/CFileSystem.h"
#include "font/CFont.h"
#include "fractal/CMandel.h"
#include "frame/CIcon.h"
#include "frame/Factory.h"
#include "frame/PictavoLibInfo.h"
#include "imaging/CImage.h"
#include "imaging/CImageCommands.h"
#include "imaging/CSupportedGraphic.h"
#include "imaging/IImageState.h"
#include "imaging/ImageHelper.h"
#include "registry/CRegistry.h"
#include "string/CString.h"
#include "system/CSystem.h"
#include "timecalc/CTimeCalc.h"

#if __has_include("timecalc/CalendarMath.h") || __has_include("frame/LibConfig.h")
#error "the library's private folders are on the include path"
#endif

#include <strsafe.h>

#include <stdio.h>
#include <wchar.h>

static int failures = 0;

static void Expect(bool ok, const char *what)
{
    if (!ok) {
        fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

int main()
{
    // Months are settled before days: 31 January + 1 month in a leap year.
    CTimeCalc calc(31, 1, 2024, 12, 0);
    calc.CalculateDate(true, 0, 1, 0);
    Expect(calc.GetCalcDateValue(Day) == 2 && calc.GetCalcDateValue(Month) == 3 &&
               calc.GetCalcDateValue(Year) == 2024,
           "CTimeCalc: 31.1.2024 + 1 month is 2.3.2024");
    Expect(calc.GetDaysOfMonth(2, 2100) == 28, "CTimeCalc: February 2100 has 28 days");

    CString text(L"  count down \t");
    Expect(text.TrimLeft().TrimRight().ToUpper() == L"COUNT DOWN", "CString: trim and upper");
    CString list(L"a;b;;c");
    Expect(list.Split(L';') == 4 && list.SplitResultByIndex(3) == L"c", "CString: split");

    // A fresh object reads back, and the raw API confirms where it landed.
    wchar_t key[64];
    StringCchPrintfW(key, 64, L"TempuloApiProbe-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    CRegistry writer(L"Software", RegCurrentUser, false);
    Expect(writer.WriteValue(key, L"Text", L"sieben") == 0 &&
               writer.WriteValue(key, L"Number", (DWORD)7) == 0,
           "CRegistry: write");
    CRegistry reader(L"Software", RegCurrentUser, false);
    Expect(wcscmp(reader.ReadValue(key, L"Text", L""), L"sieben") == 0 &&
               reader.ReadValue(key, L"Number", (DWORD)0) == 7,
           "CRegistry: read back");
    wchar_t raw[16] = L"";
    DWORD size = sizeof(raw);
    wchar_t path[96];
    StringCchPrintfW(path, 96, L"Software\\%s", key);
    Expect(RegGetValueW(HKEY_CURRENT_USER, path, L"Text", RRF_RT_REG_SZ, nullptr, raw, &size) ==
                   ERROR_SUCCESS &&
               wcscmp(raw, L"sieben") == 0,
           "CRegistry: value in HKCU");
    Expect(reader.DeleteKey(key) == 0 && !reader.ExistKey(key), "CRegistry: delete key");
    RegDeleteTreeW(HKEY_CURRENT_USER, path); // whatever a failed delete left

    SetEnvironmentVariableW(L"TEMPULO_API_PROBE", L"42");
    CSystem sys;
    Expect(wcscmp(sys.GetEnvironment(L"TEMPULO_API_PROBE"), L"42") == 0, "CSystem: environment");
    wchar_t module[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    Expect(_wcsicmp(sys.GetAppName(true, true), module) == 0, "CSystem: own program path");

    if (!failures) puts("ok: public API");
    return failures;
}
