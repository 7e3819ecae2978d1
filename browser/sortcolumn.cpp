#include "sortcolumn.h"

#include "browser/framefile.h"
#include "browser/listsort.h"

void resetSortState(int32_t sortState[5], int32_t fileIsFreqOrder)
{
    int orderColumn = fileIsFreqOrder != 0 ? 3 : 2;
    sortState[1] = 0;
    for (int c = 2; c <= 4; ++c)
        sortState[c] = c == orderColumn ? -1 : 0;
}

void sortByColumn(std::vector<std::string>& frames, int32_t frameCount, int32_t sortState[5],
                  int column, std::string& sortDescription)
{
    static const char* const columnNames[5] = {"", "frequency rank", "phrase frame", "frequency",
                                               "variants"};
    if (column < 1 || column > 4)
        return;

    sortState[column] = sortState[column] == 0 ? -1 : 0;
    bool flagSet = sortState[column] != 0;
    bool descending = column == 2 ? !flagSet : flagSet;

    sortDescription = std::string("sorted by ") + columnNames[column] + " in descending order";
    if (!descending) {
        for (size_t at = sortDescription.find("desc"); at != std::string::npos;
             at = sortDescription.find("desc", at + 3))
            sortDescription.replace(at, 4, "asc");
    }

    if (frameCount < 2)
        return;
    const size_t count = static_cast<size_t>(frameCount);
    if (column == 2) {
        // Copies, not views: exchanging two short records moves their bytes.
        std::vector<std::string> keys(count + 1);
        for (size_t k = 1; k <= count; ++k) {
            FieldSpan field = recordField(frames[k], 2);
            keys[k].assign(field.text, field.length);
        }
        listSort(keys, &frames, 1, frameCount, descending);
    } else {
        std::vector<int32_t> keys(count + 1);
        for (size_t k = 1; k <= count; ++k) {
            FieldSpan field = recordField(frames[k], column);
            keys[k] = numberKey(field.text, field.length);
        }
        listSort(keys, &frames, 1, frameCount, descending);
    }
}
