// The security descriptor of the installer cache's folders and of the copy
// made in them, read back with the system's API: as made, and as the system
// reports it for a folder taken over and a copy made in it. Wine keeps no
// descriptor that is set (it reports one made from the Unix file modes), so
// under wine the report is not compared; tests/windows/wine-vendor-setups.sh
// checks what wine makes of it on disk (nobody else may write).
#include "platform/win32/CacheFolder.h"
#include "platform/win32/WideText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

namespace {

using platform::win32::CacheDescriptor;
using platform::win32::Handle;
using platform::win32::SecureFolder;
using platform::win32::Widen;

constexpr DWORD kWritingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                 FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                                 WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
    BYTE buffer[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof buffer;
    return CreateWellKnownSid(type, nullptr, buffer, &size) && EqualSid(sid, buffer);
}

// What is wrong with a descriptor for the cache: it must be owned by
// Administrators, protected from inheritance without inherited entries, give
// SYSTEM and Administrators everything and nobody else any right to write.
std::vector<std::string> Faults(PSECURITY_DESCRIPTOR sd) {
    std::vector<std::string> faults;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    if (!sd || !GetSecurityDescriptorControl(sd, &control, &revision) ||
        !GetSecurityDescriptorOwner(sd, &owner, &defaulted) ||
        !GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted))
        return {"no descriptor"};
    if (!(control & SE_DACL_PROTECTED))
        faults.push_back("not protected from inheritance");
    if (!owner || !IsWellKnown(owner, WinBuiltinAdministratorsSid))
        faults.push_back("not owned by Administrators");
    if (!present || !dacl) {
        faults.push_back("no list of rights");
        return faults;
    }
    bool systemFull = false;
    bool adminsFull = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header)) ||
            header->AceType != ACCESS_ALLOWED_ACE_TYPE) {
            faults.push_back("an entry that grants otherwise");
            continue;
        }
        if (header->AceFlags & INHERITED_ACE)
            faults.push_back("an inherited entry");
        const auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        const PSID sid = const_cast<DWORD*>(&ace->SidStart);
        const bool full = (ace->Mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS;
        if (IsWellKnown(sid, WinLocalSystemSid))
            systemFull = systemFull || full;
        else if (IsWellKnown(sid, WinBuiltinAdministratorsSid))
            adminsFull = adminsFull || full;
        else if (ace->Mask & kWritingRights)
            faults.push_back("someone else may write");
    }
    if (!systemFull)
        faults.push_back("SYSTEM may not do everything");
    if (!adminsFull)
        faults.push_back("Administrators may not do everything");
    return faults;
}

// The descriptor the system reports for what handle is open on.
std::vector<std::string> FaultsOf(HANDLE handle) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        nullptr, nullptr, &sd) != ERROR_SUCCESS)
        return {"no descriptor can be read"};
    std::vector<std::string> faults = Faults(sd);
    LocalFree(sd);
    return faults;
}

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

TEST(CacheFolder, DescriptorAsMadeLetsOnlySystemAndAdministratorsWrite) {
    const CacheDescriptor descriptor;
    EXPECT_EQ(Faults(descriptor.Get()), std::vector<std::string>());
}

// How a folder may be there before the launcher comes.
struct PreparedCase {
    const char* name;
    const wchar_t* sddl; // nullptr: no folder yet
};

class CacheFolderTakeOver : public ::testing::TestWithParam<PreparedCase> {};

TEST_P(CacheFolderTakeOver, FolderAndTheCopyInItGetTheDescriptor) {
    TempFolder dir;
    const std::wstring folder = Widen(dir / "cache");
    if (GetParam().sddl) {
        PSECURITY_DESCRIPTOR open = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
            GetParam().sddl, SDDL_REVISION_1, &open, nullptr));
        SECURITY_ATTRIBUTES attributes{sizeof attributes, open, FALSE};
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), &attributes));
        LocalFree(open);
    }
    const CacheDescriptor descriptor;
    const Handle held = SecureFolder(folder, descriptor);
    ASSERT_TRUE(held.Valid());
    SECURITY_ATTRIBUTES attributes = descriptor.Attributes();
    const Handle copy(CreateFileW((folder + L"\\Tidy.msi").c_str(), GENERIC_WRITE | READ_CONTROL, 0,
                                  &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(copy.Valid());
    // Held without delete sharing: the folder cannot be renamed away.
    EXPECT_FALSE(MoveFileW(folder.c_str(), Widen(dir / "moved").c_str()));
    if (!UnderWine()) {
        EXPECT_EQ(FaultsOf(held.Get()), std::vector<std::string>());
        EXPECT_EQ(FaultsOf(copy.Get()), std::vector<std::string>());
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, CacheFolderTakeOver,
                         ::testing::Values(PreparedCase{"new", nullptr},
                                           PreparedCase{"open_to_everyone", L"D:(A;OICI;FA;;;WD)"},
                                           PreparedCase{"inheriting",
                                                        L"D:AI(A;OICIID;FA;;;WD)(A;OICI;FA;;;BU)"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CacheFolder, AFileIsNoFolderToTakeOver) {
    TempFolder dir;
    WriteBytes(dir / "cache", "not a folder");
    const CacheDescriptor descriptor;
    EXPECT_FALSE(SecureFolder(Widen(dir / "cache"), descriptor).Valid());
    EXPECT_FALSE(SecureFolder(Widen(dir / "missing\\cache"), descriptor).Valid());
}

} // namespace
