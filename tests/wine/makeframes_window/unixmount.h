// A small or read-only disk for fault tests under Wine: a tmpfs mounted on an
// empty folder by the Unix mount command, which Wine starts like any program
// (it returns no process handle for a Unix program, so the command's status
// comes back through a file). Mounting needs root; without it the mount is
// not made and the test says so and is skipped.
#pragma once
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

// The Unix name Wine maps a Windows name to; empty outside Wine.
inline std::string unixName(const std::filesystem::path& name)
{
    using UnixNameOf = char*(CDECL*)(const wchar_t*);
    const auto unixNameOf = reinterpret_cast<UnixNameOf>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixNameOf == nullptr)
        return std::string();
    char* text = unixNameOf(name.c_str());
    if (text == nullptr)
        return std::string();
    std::string result = text;
    HeapFree(GetProcessHeap(), 0, text);
    return result;
}

// Runs a line of the Unix shell and waits for it; its exit status, or -1.
inline int runUnixShell(const std::string& line, const std::filesystem::path& statusFile)
{
    DeleteFileW(statusFile.c_str());
    const std::string statusName = unixName(statusFile);
    if (statusName.empty())
        return -1;
    const std::string script = line + "; echo $? > '" + statusName + ".part'; mv '" + statusName + ".part' '" +
                               statusName + "'";
    std::wstring commandLine = L"/bin/sh -c \"";
    for (char c : script)
        commandLine += static_cast<wchar_t>(static_cast<unsigned char>(c));
    commandLine += L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(L"Z:\\bin\\sh", &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    if (process.hProcess != nullptr)
        CloseHandle(process.hProcess);
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);
    for (int wait = 0; wait < 1000; ++wait) {
        std::ifstream file(statusFile);
        int status = -1;
        if (file >> status) {
            file.close();
            DeleteFileW(statusFile.c_str());
            return status;
        }
        Sleep(10);
    }
    return -1;
}

// A tmpfs on `folder` (made if missing) for the holder's life. `options` as
// for mount -o, such as "size=200k" or "ro".
class UnixMount {
public:
    UnixMount(const std::filesystem::path& folder, const std::string& options)
        : folder_(folder), statusFile_(folder.parent_path() / (folder.filename().wstring() + L".status"))
    {
        std::filesystem::create_directories(folder_);
        const std::string name = unixName(folder_);
        mounted_ = !name.empty() &&
                   runUnixShell("mount -t tmpfs -o " + options + " tmpfs '" + name + "' 2>/dev/null", statusFile_) == 0;
    }
    ~UnixMount()
    {
        if (mounted_)
            runUnixShell("umount '" + unixName(folder_) + "'", statusFile_);
    }
    UnixMount(const UnixMount&) = delete;
    UnixMount& operator=(const UnixMount&) = delete;

    bool mounted() const { return mounted_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path statusFile_;
    bool mounted_ = false;
};
