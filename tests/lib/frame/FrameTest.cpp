#include "font/CFont.h"
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
    auto createFont = Find<CFont *(*)(const wchar_t *, int, BYTE, BYTE, BYTE)>("CreateCFontClass");
    auto disposeFont = Find<void (*)(CFont *)>("DisposeCFontClass");
    ASSERT_TRUE(createFont && disposeFont);
    disposeFont(nullptr);
    CFont *font = createFont(L"Arial", 20, 1, 0, 2);
    EXPECT_TRUE(!wcscmp(font->GetFaceName(), L"Arial") && font->GetWeight() == 400 &&
                font->GetHeight() == CFont::CalcHeightTolfHeight(20)); // points
    EXPECT_EQ(font->GetItalic() * 100 + font->GetUnderline() * 10 + font->GetStrikeOut(), 102);
    disposeFont(font);
}

} // namespace
