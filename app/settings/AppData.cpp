#include "settings/AppData.h"

#include "filesystem/CFileSystem.h"
#include "font/CFont.h"
#include "imaging/CImage.h"
#include "imaging/CSupportedGraphic.h"
#include "res/resource.h"
#include "settings/Settings.h"
#include "system/CSystem.h"

#include <strsafe.h>

tAppData *g_App = nullptr;

tAppData *CreateAppData(HINSTANCE instance)
{
    tAppData *app = new tAppData(); // value-initialised: every field zero
    app->Instance = instance;
    LoadStringW(instance, IDS_TITLE, app->Title, NAME_CCH);
    LoadStringW(instance, IDS_CLASSNAME, app->ClassName, NAME_CCH);

    CSystem *system = new CSystem();
    StringCchCopyW(app->Settings.AppPath, PATH_CCH, system->GetAppName(true, true));
    StringCchCopyW(app->DriveRoot, DRIVE_CCH, system->GetAppRootDir());
    delete system;

    // The autostart entry names AppPath, so it must be the normal form; and
    // only a program on a fixed local disk may start with Windows.
    CFileSystem *path = new CFileSystem(app->Settings.AppPath, true);
    StringCchCopyW(app->Settings.AppPath, PATH_CCH, path->CleanPath());
    delete path;
    CFileSystem *drive = new CFileSystem(app->DriveRoot, true);
    app->Settings.IsLocalDrive = drive->IsDriveOfType(CFileSystem::DriveFixed);
    delete drive;

    app->SettingsApplied = false;
    app->SupportedGraphic = new CSupportedGraphic();
    app->Font = new CFont();
    app->DialogFont = new CFont(app->Font);
    app->Layout = new tFaceLayout();
    ApplyDefaults(app);
    LoadSettings(app);
    for (int i = 0; i < FACE_IMAGE_COUNT; ++i)
        app->Images[i] = new CImage();
    return app;
}

void DestroyAppData(tAppData *app)
{
    if (!app) return;
    // The window normally frees the face images when it goes; whatever is
    // left is freed here.
    for (int i = 0; i < FACE_IMAGE_COUNT; ++i)
        delete app->Images[i];
    delete app->Font;
    delete app->DialogFont;
    delete app->SupportedGraphic;
    delete app->Layout;
    delete app;
}
