// The folder chooser of the prompt seam (declared in prompts.h).
//
// The file dialog's folder mode came with Vista: its declarations are asked
// for here alone, and nothing of it is linked, so the programs still start on
// XP, where the tree of folders stands in.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "common/win/prompts.h"

#include "common/win/holders.h"

#include <shlobj.h>
#include <shobjidl.h>

static FolderAnswerer folderAnswerer;

namespace {

// Opens the tree chooser at the folder it was given.
int CALLBACK startAtFolder(HWND chooser, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

// The tree of folders, for systems without the file dialog's folder mode.
bool showFolderTree(HWND owner, const std::wstring& title, std::wstring& folder)
{
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = startAtFolder;
    info.lParam = folder.empty() ? 0 : reinterpret_cast<LPARAM>(folder.c_str());
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    if (!chosen)
        return false;
    wchar_t path[MAX_PATH] = L"";
    bool named = SHGetPathFromIDListW(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    if (named)
        folder = path;
    return named;
}

// The shell item of a folder. The function is looked up, not linked: the
// program still starts on systems whose shell lacks it.
bool shellItemOf(const std::wstring& folder, ComObject<IShellItem>& item)
{
    typedef HRESULT(WINAPI * ItemFromName)(PCWSTR, IBindCtx*, REFIID, void**);
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    // Through void* (no warning for the cast of one function type to another).
    auto itemFromName = shell ? reinterpret_cast<ItemFromName>(reinterpret_cast<void*>(
                                    GetProcAddress(shell, "SHCreateItemFromParsingName")))
                              : nullptr;
    return itemFromName && SUCCEEDED(itemFromName(folder.c_str(), nullptr, __uuidof(IShellItem), item.out()));
}

} // namespace

bool showFolderDialog(HWND owner, const std::wstring& title, std::wstring& folder)
{
    if (folderAnswerer)
        return folderAnswerer(title, folder);
    // The file dialog in its folder mode: a path box to type or paste in, and
    // it opens in the folder given rather than at the top of the tree.
    ComObject<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(__uuidof(FileOpenDialog), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IFileOpenDialog),
                                dialog.out())))
        return showFolderTree(owner, title, folder);
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(title.c_str());
    ComObject<IShellItem> start;
    if (!folder.empty() && shellItemOf(folder, start))
        dialog->SetFolder(start.object);
    if (FAILED(dialog->Show(owner)))
        return false;
    ComObject<IShellItem> chosen;
    wchar_t* path = nullptr;
    if (FAILED(dialog->GetResult(reinterpret_cast<IShellItem**>(chosen.out()))) ||
        FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return false;
    folder = path;
    CoTaskMemFree(path);
    return true;
}

void setFolderAnswerer(FolderAnswerer answerer)
{
    folderAnswerer = std::move(answerer);
}
