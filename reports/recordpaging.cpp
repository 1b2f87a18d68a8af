#include "reports/recordpaging.h"

#include <algorithm>

int RecordPaging::loadedCount(int storedCount)
{
    return std::clamp(storedCount, 0, kMaxRecords);
}

quint16 RecordPaging::pageCount(int records)
{
    const int loaded = loadedCount(records);
    return quint16(std::max(1, (loaded + kRowsPerPage - 1) / kRowsPerPage));
}

int RecordPaging::firstRecord(int page)
{
    return (page - 1) * kRowsPerPage;
}

int RecordPaging::rowsOnPage(int records, int page)
{
    if (page < 1)
        return 0;
    return std::clamp(loadedCount(records) - firstRecord(page), 0, kRowsPerPage);
}
