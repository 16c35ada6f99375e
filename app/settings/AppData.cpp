#include "settings/AppData.h"

#include "res/resource.h"

tAppData *g_App = nullptr;

tAppData *CreateAppData(HINSTANCE instance)
{
    tAppData *app = new tAppData(); // value-initialised: every field zero
    app->Instance = instance;
    LoadStringW(instance, IDS_TITLE, app->Title, NAME_CCH);
    LoadStringW(instance, IDS_CLASSNAME, app->ClassName, NAME_CCH);
    app->Layout = new tFaceLayout();
    // The program path, drive, font, file-type table and face images join
    // here as the library grows the classes that provide them; settings
    // from the registry are loaded over the defaults below.
    ApplyDefaults(app);
    return app;
}

void DestroyAppData(tAppData *app)
{
    if (!app) return;
    delete app->Layout;
    delete app;
}
