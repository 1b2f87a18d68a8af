#pragma once

#include <QtGlobal>

// Paging of the training record list without any widget: eight records a page, at most 1000
// records loaded, pages counted from 1.
class RecordPaging
{
public:
    static constexpr int kRowsPerPage = 8;
    static constexpr int kMaxRecords = 1000;

    // The records a list holds of a patient who has this many: never more than it can show.
    static int loadedCount(int storedCount);
    // Pages for that many records; 1 for none, so the indicator reads "1/1".
    static quint16 pageCount(int records);
    // Index of the first record of the page.
    static int firstRecord(int page);
    // Rows the page shows (0 to 8), nothing for a page beyond the records.
    static int rowsOnPage(int records, int page);
};
