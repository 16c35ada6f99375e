#include "FileSystemTestSupport.h"

namespace {

Names Sorted(const CArrayList &list)
{
    return Items(list, true);
}

class FileSystemListing : public ScratchFolder {
protected:
    void SetUp() override
    {
        ScratchFolder::SetUp();
        MakeSampleTree();
    }
};

TEST_F(FileSystemListing, CountsObeyTheSelectionRules)
{
    CFileSystem skipping(root.c_str(), true);
    CFileSystem all(root.c_str(), false);
    // The platform's matching ignores case; hidden and system files count
    // only when they are not skipped; "mytxt" has no .txt extension.
    EXPECT_EQ(skipping.CountFiles(L"*.txt", false), 2);
    EXPECT_EQ(all.CountFiles(L"*.txt", false), 4);
    EXPECT_EQ(skipping.CountFiles(L"txt", false), 2);
    EXPECT_EQ(skipping.CountFiles(L"*.txt;*.bmp", false), 3);
    EXPECT_EQ(skipping.CountFiles(L" *.txt ; bmp ;;", false), 3);
    EXPECT_EQ(skipping.CountFiles(L"*.txt", true), 4); // sub\f.txt, sub\deeper\g.txt
    EXPECT_EQ(all.CountFiles(L"*.txt", true), 7);      // and hid\h.txt
    EXPECT_EQ(skipping.CountFiles(L"*", L".bmp", false), 1);
    EXPECT_EQ(skipping.CountFiles(L"*", L"picture.BMP", false), 1);
    EXPECT_EQ(skipping.CountFiles(L"mytxt", L"", false), 1);
    EXPECT_EQ(skipping.CountFiles(nullptr, false), 0);

    EXPECT_EQ(skipping.CountList(L"*", true, false), 1); // sub
    EXPECT_EQ(all.CountList(L"*", true, false), 2);      // sub, hid
    EXPECT_EQ(skipping.CountList(L"*", true, true), 2);  // sub, sub\deeper
    // Sub-folders are searched whatever their own names are.
    EXPECT_EQ(skipping.CountList(L"g.*", false, true), 1);
    EXPECT_EQ(skipping.CountList((At(L"sub") + L"\\").c_str(), L"*.txt", false, true), 2);
    EXPECT_EQ(skipping.CountList(At(L"missing").c_str(), L"*", false, true), 0);
    EXPECT_EQ(skipping.CountList(L"", L"*", false, true), 0);
    EXPECT_EQ(CFileSystem(L"", false).CountFiles(L"*.txt", true), 0);
}

TEST_F(FileSystemListing, TextListsOfNamesAndExtensions)
{
    CFileSystem skipping(root.c_str(), true);
    CArrayList txt;
    skipping.FillList(&txt, L"*.txt", false);
    EXPECT_EQ(Sorted(txt), (Names{L"a.txt", L"b.TXT"}));

    CArrayList folders;
    CFileSystem(root.c_str(), false).FillList(&folders, L"*", true);
    EXPECT_EQ(Sorted(folders), (Names{L"hid", L"sub"}));

    // The last filter of a list is handled first.
    CArrayList ordered(true);
    skipping.FillListExtended(&ordered, L"*.txt;*.bmp", false);
    ASSERT_EQ(ordered.Count(), 3u);
    EXPECT_STREQ(ordered.Get(0), L"c.bmp");
    // Without duplicates a name matched by two filters appears once.
    CArrayList unique;
    skipping.FillListExtended(&unique, L"a.*;*.txt", false);
    EXPECT_EQ(Sorted(unique), (Names{L"a.txt", L"b.TXT"}));

    CArrayList named;
    skipping.FileList(&named, L"?", L"image.bmp");
    EXPECT_EQ(Sorted(named), (Names{L"c.bmp"}));

    CArrayList extensions;
    skipping.ExtendList(&extensions);
    EXPECT_EQ(Sorted(extensions), (Names{L".bmp", L".txt"}));
    CArrayList repeated(true);
    CFileSystem(root.c_str(), false).ExtendList(&repeated);
    EXPECT_EQ(repeated.Count(), 5u); // a, b, d, e and c; "mytxt" has no dot
}

TEST_F(FileSystemListing, RecordListsCarryNameTimesAndSize)
{
    CFileSystem skipping(root.c_str(), true);
    CFileList files;
    skipping.FillList(&files, L"*.bmp", false);
    ASSERT_EQ(files.Count(), 1u);
    const CFileList::FileInfo *info = files.Get(0);
    EXPECT_STREQ(info->Name, L"c.bmp");
    EXPECT_EQ(info->SizeLow, 3u);
    EXPECT_EQ(info->SizeHigh, 0u);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(At(L"c.bmp").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(CompareFileTime(&info->LastWriteTime, &data.ftLastWriteTime), 0);
    EXPECT_EQ(CompareFileTime(&info->CreationTime, &data.ftCreationTime), 0);
    EXPECT_EQ(files.Get(1), nullptr);

    CFileList both;
    skipping.FillListExtended(&both, L"*.txt;*.bmp", true);
    EXPECT_EQ(both.Count(), 0u); // folders asked for, none matches
    skipping.FillListExtended(&both, L"*.txt;*.bmp", false);
    EXPECT_EQ(both.Count(), 3u);
    skipping.FileList(&both, L"a", L".txt");
    EXPECT_EQ(both.Count(), 4u); // records are always appended
    EXPECT_STREQ(both.Get(3)->Name, L"a.txt");
}

} // namespace
