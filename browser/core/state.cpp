#include "state.h"

std::vector<std::string> frames(1);
int32_t frameCount = 0;
int32_t selectedIndex = 0;
int32_t shownIndex = 0;
int32_t sortState[5] = {0, 0, 0, 0, 0};
int32_t fileIsFreqOrder = 0;
std::string loadedFileName;
std::string sortDescription;
std::string lastPath;
int32_t tabStop = initialTabStop;
uint32_t findOptions = initialFindOptions;
