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

#include <stdio.h>

static int failures = 0;

static void Expect(bool ok, const char *what)
{
    if (!ok) fprintf(stderr, "FAIL: %s\n", what), ++failures;
}

int main()
{
    // Months are settled before days: 31 January + 1 month in a leap year.
    CTimeCalc calc(31, 1, 2024, 12, 0);
    calc.CalculateDate(true, 0, 1, 0);
    Expect(calc.GetCalcDateValue(Day) == 2 && calc.GetCalcDateValue(Month) == 3,
           "CTimeCalc: 31.1.2024 + 1 month is 2.3.2024");
    // A text crosses the boundary both ways.
    CString text(L"  count down \t");
    Expect(text.TrimLeft().TrimRight().ToUpper() == L"COUNT DOWN", "CString: trim and upper");

    if (!failures) puts("ok: public API");
    return failures;
}
