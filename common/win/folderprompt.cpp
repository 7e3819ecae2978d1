// The folder chooser of the prompt seam (declared in prompts.h).
#include "common/win/prompts.h"

#include <shlobj.h>

static FolderAnswerer folderAnswerer;

namespace {

// Opens the chooser at the folder it was given.
int CALLBACK startAtFolder(HWND chooser, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace

bool showFolderDialog(HWND owner, const std::wstring& title, std::wstring& folder)
{
    if (folderAnswerer)
        return folderAnswerer(title, folder);
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

void setFolderAnswerer(FolderAnswerer answerer)
{
    folderAnswerer = std::move(answerer);
}
