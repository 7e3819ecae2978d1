#include "browser/state.h"

std::vector<std::string> frames(1);
int32_t frameCount = 0;
FrameMeasures frameMeasures;
int32_t fileIsFreqOrder = 0;
std::string loadedFileName;
std::wstring loadedFilePath;
std::string lastPath;
uint32_t fileCodePage = 0;

int32_t selectedIndex = 0;
int32_t shownIndex = 0;
int32_t sortState[listColumnCount + 1] = {};
std::string sortDescription;
int32_t tabStop = initialTabStop;
DWORD lastStepTick = 0;

uint32_t findOptions = initialFindOptions;
std::string findText;
HWND findWindow = nullptr;

HWND mainWindow = nullptr;
HWND frameList = nullptr;
HWND variantPane = nullptr;
COLORREF bgColor = 0;
float unitScaleX = 1.5f;
float unitScaleY = 1.855f;
