// Choosing the file to show, and the settings file beside the executable.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <cstdint>
#include <string>

// "Corvale.cfg" in the executable's folder, by its wide name.
std::wstring settingsPath();

std::string readSetting(const std::string& key, const std::string& section);
void writeSetting(const std::string& key, const std::string& section, const std::string& value);

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

// The "&Open File" command: ask, remember the folder, load with
// loadClassifiedFile.
void openFileCommand();
