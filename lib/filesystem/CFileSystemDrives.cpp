// Drives: the drive list, drive types and the partition layout of a
// drive's disk.
#include "filesystem/CFileSystem.h"
#include "filesystem/FileSystemHelpers.h"

#include <shlwapi.h>
#include <winioctl.h>

#include <new>
#include <vector>
#include <wctype.h>

using namespace filesystem;

bool CFileSystem::SetRootDevice()
{
    if (!IsDrivePath(Path)) {
        RootDevice[0] = L'\0';
        return false;
    }
    // The drive list spells its roots in upper case.
    RootDevice[0] = (wchar_t)towupper(Path[0]);
    RootDevice[1] = L':';
    RootDevice[2] = L'\\';
    RootDevice[3] = L'\0';
    return true;
}

UINT CFileSystem::GetDriveTypeDefinition(DriveType type)
{
    switch (type) {
    case DriveNoRootDir: return DRIVE_NO_ROOT_DIR;
    case DriveRemovable: return DRIVE_REMOVABLE;
    case DriveFixed: return DRIVE_FIXED;
    case DriveRemote: return DRIVE_REMOTE;
    case DriveCdRom: return DRIVE_CDROM;
    case DriveRamDisk: return DRIVE_RAMDISK;
    default: return DRIVE_UNKNOWN;
    }
}

bool CFileSystem::IsDriveOfType(DriveType type)
{
    if (!SetRootDevice()) return false;
    CArrayList drives;
    GetDrives(&drives);
    if (!drives.Contains(RootDevice)) return false;
    const UINT actual = GetDriveTypeW(RootDevice);
    if (type >= DriveNoRootDir && type <= DriveRamDisk)
        return actual == GetDriveTypeDefinition(type);
    return actual == DRIVE_UNKNOWN;
}

void CFileSystem::GetDrives(CArrayList *list)
{
    GetDrivesOfType(list, DriveAll);
}

void CFileSystem::GetDrivesOfType(CArrayList *list, DriveType type)
{
    if (!list) return;
    const DWORD present = GetLogicalDrives();
    for (int drive = 0; drive < 26; ++drive) {
        if (!(present & (1u << drive))) continue;
        wchar_t root[4] = {};
        PathBuildRootW(root, drive);
        if (type == DriveAll || GetDriveTypeW(root) == GetDriveTypeDefinition(type))
            list->Add(root);
    }
}

bool CFileSystem::SetPhysicalDevice(const wchar_t *volumePath)
{
    // Asking for the device number needs no access rights, so this works
    // without administrator rights too.
    HANDLE volume = CreateFileW(volumePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (volume == INVALID_HANDLE_VALUE) return false;
    STORAGE_DEVICE_NUMBER number = {};
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(volume, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number,
                                    sizeof(number), &returned, nullptr);
    CloseHandle(volume);
    if (!ok) return false;
    StringCchPrintfW(PhysicalDevice, 16, L"PhysicalDrive%lu", number.DeviceNumber);
    return true;
}

CFileSystem::PartitionInfo *CFileSystem::GetPartitionInfo()
{
    PartitionInfo *info = new (std::nothrow) PartitionInfo();
    if (!info || !SetRootDevice()) return info;
    StringCchPrintfW(info->VolumePath, 8, L"\\\\.\\%c%c", RootDevice[0], RootDevice[1]);
    if (!SetPhysicalDevice(info->VolumePath)) return info;
    StringCchPrintfW(info->DevicePath, 20, L"\\\\.\\%s", PhysicalDevice);

    HANDLE disk = CreateFileW(info->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (disk == INVALID_HANDLE_VALUE) return info;
    // Room for four entries first; a GPT disk has up to 128, so grow.
    std::vector<BYTE> layout(624);
    for (;;) {
        DWORD returned = 0;
        if (DeviceIoControl(disk, IOCTL_DISK_GET_DRIVE_LAYOUT_EX, nullptr, 0, layout.data(),
                            (DWORD)layout.size(), &returned, nullptr)) {
            info->LayoutRead = true;
            info->PartitionCount =
                reinterpret_cast<DRIVE_LAYOUT_INFORMATION_EX *>(layout.data())->PartitionCount;
            break;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_INSUFFICIENT_BUFFER && error != ERROR_MORE_DATA) ||
            layout.size() >= 256 * 1024)
            break;
        layout.resize(layout.size() * 2);
    }
    CloseHandle(disk);
    return info;
}
