#include "sortcolumn.h"

#include "browser/core/framefile.h"
#include "browser/core/listsort.h"

#include <string_view>
#include <utility>

void resetSortState(int32_t sortState[], int32_t fileIsFreqOrder, int columnCount)
{
    int orderColumn = fileIsFreqOrder != 0 ? 3 : 2;
    sortState[1] = 0;
    for (int c = 2; c <= columnCount; ++c)
        sortState[c] = c == orderColumn ? -1 : 0;
}

namespace {

// Puts frames[1..count] into the order the sort left in order: element k
// becomes the record that stood at order[k]. Follows each cycle of the
// permutation with one record in hand, so no second array of records is
// needed; order is used up (every visited element set to its own index).
void applyOrder(std::vector<std::string>& frames, std::vector<int32_t>& order, size_t count)
{
    for (size_t start = 1; start <= count; ++start) {
        if (order[start] == static_cast<int32_t>(start))
            continue;
        std::string held = std::move(frames[start]);
        size_t k = start;
        for (;;) {
            const size_t from = static_cast<size_t>(order[k]);
            order[k] = static_cast<int32_t>(k);
            if (from == start) {
                frames[k] = std::move(held);
                break;
            }
            frames[k] = std::move(frames[from]);
            k = from;
        }
    }
}

} // namespace

void sortByColumn(std::vector<std::string>& frames, int32_t frameCount, int32_t sortState[], int column,
                  std::string& sortDescription, const FrameMeasures& measures)
{
    if (column < 1 || column > shownColumnCount(measures))
        return;
    const ListColumn& shown = listColumn(column);

    // Everything that can run out of memory comes before the first change,
    // so a failed sort leaves the flags, the sentence and the order alone.
    const bool flagSet = sortState[column] == 0;
    const bool descending = shown.kind == recordTextColumn ? !flagSet : flagSet;
    std::string description = std::string("sorted by ") + shown.sortName + " in descending order";
    if (!descending) {
        for (size_t at = description.find("desc"); at != std::string::npos;
             at = description.find("desc", at + 3))
            description.replace(at, 4, "asc");
    }

    auto commit = [&] {
        sortState[column] = flagSet ? -1 : 0;
        sortDescription.swap(description);
    };
    if (frameCount < 2) {
        commit();
        return;
    }
    const size_t count = static_cast<size_t>(frameCount);
    if (shown.kind == recordTextColumn) {
        // The keys are views into the records, which stay where they are
        // while the sort runs: it carries record numbers, and the records
        // move into that order afterwards. (A short record keeps its bytes
        // inside its string object, so a view into a record that moved
        // would see another record's bytes.)
        std::vector<std::string_view> keys(count + 1);
        std::vector<int32_t> order(count + 1);
        for (size_t k = 1; k <= count; ++k) {
            FieldSpan field = recordField(frames[k], shown.recordField);
            keys[k] = std::string_view(field.text, field.length);
            order[k] = static_cast<int32_t>(k);
        }
        commit();
        listSort(keys, &order, 1, frameCount, descending);
        applyOrder(frames, order, count);
    } else if (shown.kind == recordNumberColumn) {
        std::vector<int32_t> keys(count + 1);
        for (size_t k = 1; k <= count; ++k) {
            FieldSpan field = recordField(frames[k], shown.recordField);
            keys[k] = numberKey(field.text, field.length);
        }
        commit();
        listSort(keys, &frames, 1, frameCount, descending);
    } else {
        std::vector<int64_t> keys(count + 1);
        for (size_t k = 1; k <= count; ++k)
            measureOf(frames[k], measures, column, keys[k]);
        commit();
        listSort(keys, &frames, 1, frameCount, descending);
    }
}
