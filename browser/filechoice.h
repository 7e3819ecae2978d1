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

// The "&Open File" command: ask, remember the folder, classify the name,
// load; a load that did not replace the data puts the previous
// classification back and keeps the previous file's name.
void openFileCommand();
