// Choosing the file to show, and the settings file beside the executable.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <cstdint>
#include <string>

// "Corvale.cfg" in the executable's folder, by its wide name.
std::wstring settingsPath();

std::string readSetting(const std::string& key, const std::string& section);
// A setting to write, its texts built beforehand: Open writes it after a
// load, which may have used up the memory, and writing it needs none.
struct Setting {
    std::wstring section;
    std::wstring key;
    std::wstring value;
    std::wstring file;
};
Setting settingToWrite(const std::string& key, const std::string& section, const std::string& value);
// Writes it into the settings file; a failure is ignored.
void writeSetting(const Setting& setting);

// The open-file dialog in its wide form (through the prompt seam), so that a
// name outside the ANSI code page comes back whole, with a "|"-separated
// filter. file and flags are in/out; returns nonzero when the user chose a
// file.
int32_t openFileDialog(HWND owner, const std::string& caption, std::wstring& file,
                       const std::string& initialFolder, const std::string& filter,
                       const std::string& defaultExtension, uint32_t& flags);

// Loads the file fullName names, classified by its name's ending before the
// load (see classifyFileName), so that the list's sort state, the option
// buttons, the pane's first order and the copies follow the file; its name
// part then becomes loadedFileName. A load that did not replace the data
// puts the previous classification back and keeps the previous file's name.
// Open and a name on the command line both load this way.
bool loadClassifiedFile(const std::wstring& fullName);

// The "&Open File" command: ask, remember the folder for this run, load
// with loadClassifiedFile, and keep the folder in the settings once the file
// has loaded.
void openFileCommand();
