#include "FileSystemTestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Items(const CArrayList &list)
{
    std::vector<std::wstring> items;
    for (size_t i = 0; i < list.Count(); ++i)
        items.push_back(list.Get(i));
    return items;
}

// --- creating and deleting -------------------------------------------------------

using FileSystemCreate = ScratchFolder;

TEST_F(FileSystemCreate, CreatesEveryMissingLevelOnce)
{
    CFileSystem fs(At(L"x\\y\\z").c_str(), true);
    EXPECT_TRUE(fs.CreateDir());
    EXPECT_TRUE(IsFolder(L"x\\y\\z"));
    EXPECT_TRUE(fs.CreateDir());

    CFileSystem base(root.c_str(), true);
    EXPECT_TRUE(base.CreateDir(L"one/two\\three"));
    EXPECT_TRUE(IsFolder(L"one\\two\\three"));
    EXPECT_TRUE(base.CreateDir(At(L"full\\name").c_str()));
    EXPECT_TRUE(IsFolder(L"full\\name"));

    // Slashes throughout, also right after the drive.
    const std::wstring slashed = At(L"s1/s2");
    std::wstring forward = slashed;
    for (wchar_t &c : forward)
        if (c == L'\\') c = L'/';
    CFileSystem slashes(forward.c_str(), true);
    EXPECT_TRUE(slashes.CreateDir());
    EXPECT_TRUE(IsFolder(L"s1\\s2"));
}

TEST_F(FileSystemCreate, RefusesWhatCannotBeAFolder)
{
    MakeFile(L"taken");
    CFileSystem overFile(At(L"taken").c_str(), true);
    EXPECT_FALSE(overFile.CreateDir());
    CFileSystem belowFile(At(L"taken\\below").c_str(), true);
    EXPECT_FALSE(belowFile.CreateDir());
    for (const wchar_t *path : {L"", L"relative\\dir", L"Q:\\x\\y"}) {
        CFileSystem fs(path, true);
        EXPECT_FALSE(fs.CreateDir()) << path;
    }
    CFileSystem base(root.c_str(), true);
    EXPECT_FALSE(base.CreateDir(std::wstring(300, L'l').c_str()));
}

TEST_F(FileSystemCreate, DeleteDirRemovesEmptyFoldersUpToTheBase)
{
    MakeFolder(L"a");
    MakeFolder(L"a\\b");
    MakeFolder(L"a\\b\\c");
    CFileSystem fs(root.c_str(), true);
    EXPECT_TRUE(fs.DeleteDir(L"a/b\\c"));
    EXPECT_FALSE(Exists(L"a"));
    EXPECT_TRUE(IsFolder(L""));
    EXPECT_TRUE(fs.DeleteDir(L"never\\there"));

    // A folder with content stays, and so do its parents.
    MakeFolder(L"full");
    MakeFile(L"full\\keep.txt");
    EXPECT_FALSE(fs.DeleteDir(L"full"));
    EXPECT_EQ(ReadFile(L"full\\keep.txt"), "x");

    MakeFolder(L"self");
    CFileSystem self(At(L"self").c_str(), true);
    EXPECT_TRUE(self.DeleteDir());
    EXPECT_FALSE(Exists(L"self"));
}

TEST_F(FileSystemCreate, DeleteDirStaysBelowTheBase)
{
    MakeFolder(L"outside");
    MakeFolder(L"base");
    CFileSystem fs(At(L"base").c_str(), true);
    EXPECT_FALSE(fs.DeleteDir(L"..\\outside"));
    EXPECT_FALSE(fs.DeleteDir((At(L"outside")).c_str()));
    EXPECT_TRUE(IsFolder(L"outside"));
    CFileSystem relative(L"base", true);
    EXPECT_FALSE(relative.DeleteDir(L"x"));
}

TEST_F(FileSystemCreate, ShellDeleteTakesTheWholeTree)
{
    MakeSampleTree();
    MakeFolder(L"bin");
    MakeFile(L"bin\\old.txt");
    CFileSystem fs(root.c_str(), true);
    EXPECT_TRUE(fs.DeleteOrRecycleDir(L"sub", false));
    EXPECT_FALSE(Exists(L"sub"));
    EXPECT_TRUE(fs.DeleteOrRecycleDir(L"bin", true));
    EXPECT_FALSE(Exists(L"bin"));
    EXPECT_FALSE(fs.DeleteOrRecycleDir(L"sub", false)); // already gone
    EXPECT_TRUE(Exists(L"a.txt"));
}

TEST_F(FileSystemCreate, ShellDeleteRefusesAnythingButOneFolderBelowTheBase)
{
    MakeSampleTree();
    MakeFolder(L"base");
    MakeFile(L"base\\inside.txt");
    CFileSystem fs(At(L"base").c_str(), true);
    for (const wchar_t *name : {L"*", L"*.*", L"..", L"..\\sub", L"x\\..\\..", L"C:\\windows"})
        EXPECT_FALSE(fs.DeleteOrRecycleDir(name, false)) << name;
    CFileSystem files(root.c_str(), true);
    EXPECT_FALSE(files.DeleteOrRecycleDir(L"a.txt", false));
    // Drive and share roots are never handed to the shell, nor a relative
    // base that would be taken from the current folder.
    for (const wchar_t *path : {L"G:\\", L"G:", L"\\\\server\\share", L"", L"base"}) {
        CFileSystem other(path, true);
        EXPECT_FALSE(other.DeleteOrRecycleDir(L"", false)) << path;
    }
    EXPECT_TRUE(IsFolder(L"sub\\deeper"));
    EXPECT_EQ(ReadFile(L"base\\inside.txt"), "x");
    EXPECT_EQ(ReadFile(L"a.txt"), "a");
    CFileSystem share(L"G:\\", true);
    EXPECT_TRUE(share.DirExists(L"Share"));
}

TEST_F(FileSystemCreate, CanWriteLeavesNoTraceAndKeepsForeignFiles)
{
    CFileSystem fs(root.c_str(), true);
    EXPECT_TRUE(fs.CanWrite());
    EXPECT_FALSE(Exists(L"Orva.dat2"));
    MakeFile(L"Orva.dat2", "precious");
    CFileSystem slash((root + L"\\").c_str(), true);
    EXPECT_TRUE(slash.CanWrite());
    EXPECT_EQ(ReadFile(L"Orva.dat2"), "precious");
    for (const wchar_t *path : {L"", L"Q:\\", L"F:\\"}) {
        CFileSystem other(path, true);
        EXPECT_FALSE(other.CanWrite()) << path;
    }
    CFileSystem missing(At(L"missing").c_str(), true);
    EXPECT_FALSE(missing.CanWrite());
}

// --- copying -------------------------------------------------------------------

using FileSystemCopy = ScratchFolder;

TEST_F(FileSystemCopy, CopiesTheTreeAndHonoursSkipHidden)
{
    MakeFolder(L"src");
    MakeFile(L"src\\a.txt", "a");
    MakeFile(L"src\\hidden.txt", "h", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(L"src\\system.txt", "s", FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(L"src\\sub");
    MakeFile(L"src\\sub\\b.txt", "b");
    MakeFolder(L"src\\sub\\empty");
    MakeFolder(L"src\\hid", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(L"src\\hid\\c.txt", "c");
    MakeFolder(L"skip");
    MakeFolder(L"all");
    MakeFolder(L"folders");

    CFileSystem skipping(At(L"skip").c_str(), true);
    EXPECT_TRUE(skipping.CopyDir(At(L"src").c_str(), false));
    EXPECT_EQ(ReadFile(L"skip\\a.txt"), "a");
    EXPECT_EQ(ReadFile(L"skip\\sub\\b.txt"), "b");
    EXPECT_TRUE(IsFolder(L"skip\\sub\\empty"));
    EXPECT_FALSE(Exists(L"skip\\hidden.txt"));
    EXPECT_FALSE(Exists(L"skip\\system.txt"));
    EXPECT_FALSE(Exists(L"skip\\hid"));

    CFileSystem everything(L"", false);
    EXPECT_TRUE(everything.CopyDir(At(L"src").c_str(), At(L"all").c_str(), false));
    EXPECT_EQ(ReadFile(L"all\\hidden.txt"), "h");
    EXPECT_EQ(ReadFile(L"all\\system.txt"), "s");
    EXPECT_EQ(ReadFile(L"all\\hid\\c.txt"), "c");

    EXPECT_TRUE(everything.CopyDir(At(L"src").c_str(), At(L"folders").c_str(), true));
    EXPECT_TRUE(IsFolder(L"folders\\sub\\empty"));
    EXPECT_FALSE(Exists(L"folders\\a.txt"));
    EXPECT_FALSE(Exists(L"folders\\sub\\b.txt"));
}

TEST_F(FileSystemCopy, NeverOverwritesAndNeverCopiesIntoItself)
{
    MakeFolder(L"src");
    MakeFile(L"src\\a.txt", "new");
    MakeFolder(L"src\\inner");
    MakeFolder(L"dst");
    MakeFile(L"dst\\a.txt", "old");
    CFileSystem fs(At(L"dst").c_str(), true);
    EXPECT_FALSE(fs.CopyDir(At(L"src").c_str(), false));
    EXPECT_EQ(ReadFile(L"dst\\a.txt"), "old");

    EXPECT_FALSE(fs.CopyDir(At(L"src").c_str(), At(L"src\\inner").c_str(), false));
    EXPECT_FALSE(fs.CopyDir(At(L"src").c_str(), At(L"src").c_str(), false));
    EXPECT_FALSE(Exists(L"src\\inner\\inner"));
    EXPECT_FALSE(fs.CopyDir(At(L"missing").c_str(), false));
    EXPECT_FALSE(fs.CopyDir(At(L"src").c_str(), At(L"missing").c_str(), false));
    EXPECT_FALSE(fs.CopyDir(nullptr, At(L"dst").c_str(), false));
    // A sibling whose name merely begins like the source is a fine target.
    MakeFolder(L"src2");
    EXPECT_TRUE(fs.CopyDir(At(L"src").c_str(), At(L"src2").c_str(), false));
    EXPECT_EQ(ReadFile(L"src2\\a.txt"), "new");
}

// --- drives ----------------------------------------------------------------------
// The test prefix has C: and Z: (fixed), D: (CD-ROM), E: (removable, no
// disc), F: (folder gone) and G: (network); Q: does not exist.

TEST(FileSystemDrives, TypesOfThePrefixDrives)
{
    struct Case {
        const wchar_t *path;
        CFileSystem::DriveType type;
    };
    const Case cases[] = {
        {L"C:\\Program", CFileSystem::DriveFixed}, {L"c:\\lower\\case", CFileSystem::DriveFixed},
        {L"Z:", CFileSystem::DriveFixed},          {L"C:relative", CFileSystem::DriveFixed},
        {L"D:\\Disc", CFileSystem::DriveCdRom},    {L"E:\\", CFileSystem::DriveRemovable},
        {L"F:\\", CFileSystem::DriveNoRootDir},    {L"G:\\Share", CFileSystem::DriveRemote}};
    const CFileSystem::DriveType all[] = {
        CFileSystem::DriveAll,       CFileSystem::DriveUnknown, CFileSystem::DriveNoRootDir,
        CFileSystem::DriveRemovable, CFileSystem::DriveFixed,   CFileSystem::DriveRemote,
        CFileSystem::DriveCdRom,     CFileSystem::DriveRamDisk, (CFileSystem::DriveType)99};
    for (const Case &c : cases) {
        CFileSystem fs(c.path, true);
        for (CFileSystem::DriveType type : all)
            EXPECT_EQ(fs.IsDriveOfType(type), type == c.type) << c.path << " " << type;
    }
    for (const wchar_t *path : {L"Q:\\", L"\\\\server\\share", L"", L"relative", L"1:\\"}) {
        CFileSystem fs(path, true);
        for (CFileSystem::DriveType type : all)
            EXPECT_FALSE(fs.IsDriveOfType(type)) << path;
    }
}

TEST(FileSystemDrives, ListsInLetterOrderAndByType)
{
    CFileSystem fs(L"C:\\", true);
    CArrayList drives;
    fs.GetDrives(&drives);
    EXPECT_EQ(Items(drives),
              (std::vector<std::wstring>{L"C:\\", L"D:\\", L"E:\\", L"F:\\", L"G:\\", L"Z:\\"}));
    CArrayList fixed(true);
    fs.GetDrivesOfType(&fixed, CFileSystem::DriveFixed);
    EXPECT_EQ(Items(fixed), (std::vector<std::wstring>{L"C:\\", L"Z:\\"}));
    CArrayList cd;
    fs.GetDrivesOfType(&cd, CFileSystem::DriveCdRom);
    EXPECT_EQ(Items(cd), (std::vector<std::wstring>{L"D:\\"}));
    CArrayList none;
    fs.GetDrivesOfType(&none, CFileSystem::DriveRamDisk);
    EXPECT_EQ(none.Count(), 0u);
    // Appending twice to a list without duplicates adds nothing new.
    CArrayList again;
    fs.GetDrivesOfType(&again, CFileSystem::DriveAll);
    fs.GetDrives(&again);
    EXPECT_EQ(Items(again), Items(drives));
    fs.GetDrives(nullptr);
}

TEST(FileSystemDrives, PartitionInfoNamesVolumeAndDevice)
{
    CFileSystem fs(L"c:\\windows", true);
    std::unique_ptr<CFileSystem::PartitionInfo> info(fs.GetPartitionInfo());
    ASSERT_TRUE(info);
    EXPECT_STREQ(info->VolumePath, L"\\\\.\\C:");
    // Wine names the disk behind C: but cannot read its layout.
    EXPECT_EQ(std::wstring(info->DevicePath).rfind(L"\\\\.\\PhysicalDrive", 0), 0u)
        << info->DevicePath;
    EXPECT_EQ(info->LayoutRead, info->PartitionCount > 0);

    for (const wchar_t *path : {L"\\\\server\\share", L"", L"relative"}) {
        CFileSystem other(path, true);
        std::unique_ptr<CFileSystem::PartitionInfo> empty(other.GetPartitionInfo());
        ASSERT_TRUE(empty);
        EXPECT_STREQ(empty->VolumePath, L"");
        EXPECT_STREQ(empty->DevicePath, L"");
        EXPECT_FALSE(empty->LayoutRead);
        EXPECT_EQ(empty->PartitionCount, 0u);
    }
}

} // namespace
