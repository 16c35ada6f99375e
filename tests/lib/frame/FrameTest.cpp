#include "frame/PictavoLibInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Looked up by name, as a program that loads the library at run time would.
template <typename F> F Find(const std::string &name)
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleW(L"PictavoLib64.dll"), name.c_str())));
}

TEST(Factories, EveryPairIsFoundByItsPlainNameAndDisposeTakesNull)
{
    EXPECT_STREQ(PictavoLibInfo().GetVersion(), L"1.8.6");
    for (const std::string kind : {"PictavoLibInfo", "CSystemClass", "CSupportedGraphicClass",
                                   "CImageClass", "CIconClass"}) {
        auto create = Find<void *(*)()>("Create" + kind);
        auto dispose = Find<void (*)(void *)>("Dispose" + kind);
        ASSERT_TRUE(create && dispose) << kind;
        dispose(nullptr);
        void *object = create();
        EXPECT_NE(object, nullptr) << kind;
        dispose(object);
    }
    // The font's pair takes arguments: found is enough here.
    EXPECT_TRUE(Find<void (*)()>("CreateCFontClass") && Find<void (*)()>("DisposeCFontClass"));
}

} // namespace
