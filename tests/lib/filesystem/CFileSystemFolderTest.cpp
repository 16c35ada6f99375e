#include "FileSystemTestSupport.h"

#include <memory>
#include <string>

namespace {

using FileSystemFolders = ScratchFolder;

TEST_F(FileSystemFolders, CreateDirMakesEveryMissingLevel)
{
    CFileSystem fs(At(L"x\\y\\z").c_str(), true);
    EXPECT_TRUE(fs.CreateDir());
    EXPECT_TRUE(IsFolder(L"x\\y\\z"));
    EXPECT_TRUE(fs.CreateDir());
    CFileSystem base(root.c_str(), true);
    EXPECT_TRUE(base.CreateDir(L"one/two\\three"));
    EXPECT_TRUE(IsFolder(L"one\\two\\three"));
    // Slashes throughout, right after the drive too.
    std::wstring forward = At(L"s1\\s2");
    for (wchar_t &c : forward)
        if (c == L'\\') c = L'/';
    CFileSystem slashes(forward.c_str(), true);
    EXPECT_TRUE(slashes.CreateDir());
    EXPECT_TRUE(IsFolder(L"s1\\s2"));

    MakeFile(L"taken");
    for (const std::wstring &path : {At(L"taken"), At(L"taken\\below"), std::wstring(L"rel\\dir"),
                                     std::wstring(L"Q:\\x"), std::wstring()}) {
        CFileSystem other(path.c_str(), true);
        EXPECT_FALSE(other.CreateDir()) << path;
    }
    EXPECT_FALSE(base.CreateDir(std::wstring(300, L'l').c_str()));
}

TEST_F(FileSystemFolders, DeleteDirRemovesEmptyFoldersUpToTheBaseOnly)
{
    MakeFolder(L"base");
    MakeFolder(L"base\\a");
    MakeFolder(L"base\\a\\b");
    MakeFolder(L"base\\full");
    MakeFile(L"base\\full\\keep.txt");
    MakeFolder(L"outside");
    CFileSystem fs(At(L"base").c_str(), true);
    EXPECT_TRUE(fs.DeleteDir(L"a/b"));
    EXPECT_FALSE(Exists(L"base\\a"));
    EXPECT_TRUE(fs.DeleteDir(L"never\\there"));
    EXPECT_FALSE(fs.DeleteDir(L"full"));
    EXPECT_EQ(ReadFile(L"base\\full\\keep.txt"), "x");
    EXPECT_FALSE(fs.DeleteDir(L"..\\outside"));
    EXPECT_FALSE(fs.DeleteDir(At(L"outside").c_str()));
    EXPECT_TRUE(IsFolder(L"outside"));
    CFileSystem self(At(L"outside").c_str(), true);
    EXPECT_TRUE(self.DeleteDir());
    EXPECT_FALSE(Exists(L"outside"));
}

TEST_F(FileSystemFolders, ShellDeleteTakesOneWholeFolderBelowTheBase)
{
    MakeSampleTree();
    CFileSystem fs(root.c_str(), true);
    EXPECT_TRUE(fs.DeleteOrRecycleDir(L"sub", false));
    EXPECT_FALSE(Exists(L"sub"));
    EXPECT_TRUE(fs.DeleteOrRecycleDir(L"hid", true));
    EXPECT_FALSE(Exists(L"hid"));
    EXPECT_FALSE(fs.DeleteOrRecycleDir(L"sub", false)); // already gone
    EXPECT_FALSE(fs.DeleteOrRecycleDir(L"a.txt", false));

    MakeFolder(L"base");
    MakeFile(L"base\\inside.txt");
    CFileSystem base(At(L"base").c_str(), true);
    for (const wchar_t *name : {L"*", L"*.*", L"..", L"x\\..\\..", L"G:\\Share"})
        EXPECT_FALSE(base.DeleteOrRecycleDir(name, false)) << name;
    // Drive and share roots never reach the shell, nor a relative base.
    for (const wchar_t *path : {L"G:\\", L"G:", L"\\\\server\\share", L"", L"base"}) {
        CFileSystem other(path, true);
        EXPECT_FALSE(other.DeleteOrRecycleDir(L"", false)) << path;
    }
    EXPECT_EQ(ReadFile(L"base\\inside.txt"), "x");
    EXPECT_EQ(ReadFile(L"a.txt"), "a");
    EXPECT_TRUE(CFileSystem(L"G:\\", true).DirExists(L"Share"));
}

TEST_F(FileSystemFolders, CanWriteLeavesNoTraceAndKeepsForeignFiles)
{
    CFileSystem fs(root.c_str(), true);
    EXPECT_TRUE(fs.CanWrite());
    EXPECT_FALSE(Exists(L"Orva.dat2"));
    MakeFile(L"Orva.dat2", "precious");
    EXPECT_TRUE(fs.CanWrite());
    EXPECT_EQ(ReadFile(L"Orva.dat2"), "precious");
    for (const std::wstring &path : {At(L"missing"), std::wstring(L"Q:\\"), std::wstring()}) {
        CFileSystem other(path.c_str(), true);
        EXPECT_FALSE(other.CanWrite()) << path;
    }
}

TEST_F(FileSystemFolders, CopyDirHonoursSkipHiddenAndFoldersOnly)
{
    MakeFolder(L"src");
    MakeFile(L"src\\a.txt", "a");
    MakeFile(L"src\\hidden.txt", "h", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(L"src\\system.txt", "s", FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(L"src\\sub");
    MakeFile(L"src\\sub\\b.txt", "b");
    MakeFolder(L"src\\hid", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(L"src\\hid\\c.txt", "c");
    MakeFolder(L"skip");
    MakeFolder(L"all");
    MakeFolder(L"folders");

    CFileSystem skipping(At(L"skip").c_str(), true);
    EXPECT_TRUE(skipping.CopyDir(At(L"src").c_str(), false));
    EXPECT_EQ(ReadFile(L"skip\\sub\\b.txt"), "b");
    EXPECT_FALSE(Exists(L"skip\\hidden.txt") || Exists(L"skip\\system.txt") ||
                 Exists(L"skip\\hid"));
    CFileSystem everything(L"", false);
    EXPECT_TRUE(everything.CopyDir(At(L"src").c_str(), At(L"all").c_str(), false));
    EXPECT_EQ(ReadFile(L"all\\system.txt") + ReadFile(L"all\\hid\\c.txt"), "sc");
    EXPECT_TRUE(everything.CopyDir(At(L"src").c_str(), At(L"folders").c_str(), true));
    EXPECT_TRUE(IsFolder(L"folders\\sub"));
    EXPECT_FALSE(Exists(L"folders\\a.txt") || Exists(L"folders\\sub\\b.txt"));
}

TEST_F(FileSystemFolders, CopyDirNeverOverwritesNorCopiesIntoItself)
{
    MakeFolder(L"src");
    MakeFile(L"src\\a.txt", "new");
    MakeFolder(L"src\\inner");
    MakeFolder(L"dst");
    MakeFile(L"dst\\a.txt", "old");
    MakeFolder(L"src2");
    CFileSystem fs(At(L"dst").c_str(), true);
    EXPECT_FALSE(fs.CopyDir(At(L"src").c_str(), false));
    EXPECT_EQ(ReadFile(L"dst\\a.txt"), "old");
    EXPECT_FALSE(fs.CopyDir(At(L"src").c_str(), At(L"src\\inner").c_str(), false));
    EXPECT_FALSE(fs.CopyDir(At(L"src").c_str(), At(L"src").c_str(), false));
    EXPECT_FALSE(Exists(L"src\\inner\\inner"));
    EXPECT_FALSE(fs.CopyDir(At(L"missing").c_str(), false));
    EXPECT_FALSE(fs.CopyDir(nullptr, At(L"dst").c_str(), false));
    // A sibling whose name merely begins like the source is a fine target.
    EXPECT_TRUE(fs.CopyDir(At(L"src").c_str(), At(L"src2").c_str(), false));
    EXPECT_EQ(ReadFile(L"src2\\a.txt"), "new");
}

// The test prefix has C: and Z: (fixed), D: (CD-ROM), E: (removable, no
// disc), F: (folder gone) and G: (network); Q: does not exist.

TEST(FileSystemDrives, TypesOfThePrefixDrives)
{
    typedef CFileSystem FS;
    const struct {
        const wchar_t *path;
        FS::DriveType type;
    } cases[] = {{L"C:\\Program", FS::DriveFixed}, {L"c:\\lower\\case", FS::DriveFixed},
                 {L"Z:", FS::DriveFixed},          {L"C:relative", FS::DriveFixed},
                 {L"D:\\Disc", FS::DriveCdRom},    {L"E:\\", FS::DriveRemovable},
                 {L"F:\\", FS::DriveNoRootDir},    {L"G:\\Share", FS::DriveRemote},
                 {L"Q:\\", (FS::DriveType)-1},     {L"\\\\server\\share", (FS::DriveType)-1},
                 {L"", (FS::DriveType)-1},         {L"1:\\", (FS::DriveType)-1}};
    for (const auto &c : cases) {
        CFileSystem fs(c.path, true);
        for (int type = FS::DriveAll; type <= 8; ++type)
            EXPECT_EQ(fs.IsDriveOfType((FS::DriveType)type), type == c.type)
                << c.path << " " << type;
    }
}

TEST(FileSystemDrives, ListsInLetterOrderByTypeAndPartitions)
{
    CFileSystem fs(L"c:\\windows", true);
    CArrayList drives;
    fs.GetDrives(&drives);
    EXPECT_EQ(Items(drives), (Names{L"C:\\", L"D:\\", L"E:\\", L"F:\\", L"G:\\", L"Z:\\"}));
    fs.GetDrivesOfType(&drives, CFileSystem::DriveAll); // no duplicates
    EXPECT_EQ(drives.Count(), 6u);
    CArrayList fixed, cd, ram;
    fs.GetDrivesOfType(&fixed, CFileSystem::DriveFixed);
    fs.GetDrivesOfType(&cd, CFileSystem::DriveCdRom);
    fs.GetDrivesOfType(&ram, CFileSystem::DriveRamDisk);
    EXPECT_EQ(Items(fixed), (Names{L"C:\\", L"Z:\\"}));
    EXPECT_EQ(Items(cd), (Names{L"D:\\"}));
    EXPECT_EQ(ram.Count(), 0u);

    std::unique_ptr<CFileSystem::PartitionInfo> info(fs.GetPartitionInfo());
    ASSERT_TRUE(info);
    EXPECT_STREQ(info->VolumePath, L"\\\\.\\C:");
    // Wine names the disk behind C: but cannot read its layout.
    EXPECT_EQ(std::wstring(info->DevicePath).rfind(L"\\\\.\\PhysicalDrive", 0), 0u);
    CFileSystem network(L"\\\\server\\share", true);
    std::unique_ptr<CFileSystem::PartitionInfo> none(network.GetPartitionInfo());
    ASSERT_TRUE(none);
    EXPECT_TRUE(!none->VolumePath[0] && !none->DevicePath[0] && !none->LayoutRead &&
                !none->PartitionCount);
}

} // namespace
