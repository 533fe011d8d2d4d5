#include "app/AffiliateRows.h"

#include "app/AppTexts.h"

#include "model/ModifiedTimeText.h"
#include "model/Reseller.h"

#include <iterator>
#include <utility>

namespace {

bool Before(const std::string& a, const std::string& b, bool ascending) {
    return ascending ? a < b : b < a;
}

// Sorts order[low..high], the row numbers in display order, by the texts of
// their rows. Rows stay where they are while sorting, so the pivot is read in
// place. Recurses into the smaller part and loops over the larger one, so
// that a long list cannot exhaust the stack.
void QuickSort(const std::vector<AffiliateRow>& rows, std::vector<uint32_t>& order, int column,
               bool ascending, int low, int high, int& exchanges) {
    auto text = [&](int i) -> const std::string& { return rows[order[i]].texts[column]; };
    while (low < high) {
        // The pivot row's text, taken once: exchanges move row numbers only.
        const std::string& pivotText = text((low + high) / 2);
        int i = low, j = high;
        while (i <= j) {
            while (i < high && Before(text(i), pivotText, ascending))
                ++i;
            while (j > low && Before(pivotText, text(j), ascending))
                --j;
            if (i <= j) {
                if (text(i) != text(j)) {
                    std::swap(order[i], order[j]);
                    ++exchanges;
                }
                ++i;
                --j;
            }
        }
        if (j - low < high - i) {
            if (low < j)
                QuickSort(rows, order, column, ascending, low, j, exchanges);
            low = i;
        } else {
            if (i < high)
                QuickSort(rows, order, column, ascending, i, high, exchanges);
            high = j;
        }
    }
}

} // namespace

std::string_view AffiliateColumnHeader(int column) {
    static_assert(std::size(apptext::kAffiliateColumnHeaders) == kAffiliateColumnCount);
    return column >= 0 && column < kAffiliateColumnCount ? apptext::kAffiliateColumnHeaders[column]
                                                         : std::string_view();
}

void FillAffiliateRow(AffiliateRow& row, const CReseller& affiliate, ModifiedTimeText& times) {
    // Each text is copied once, straight into the row (a row refreshed again
    // reuses its texts' memory).
    row.texts[0] = affiliate.m_strName;
    row.texts[1] = affiliate.m_strAffiliateId;
    row.texts[2] = affiliate.m_strWebSite;
    row.texts[3] = affiliate.m_strEmail;
    row.texts[4] = affiliate.m_strPurchaseLink;
    row.texts[5].clear();
    times.Append(row.texts[5], affiliate.m_tModified);
    row.image = affiliate.m_nImage;
}

int SortAffiliateRows(std::vector<AffiliateRow>& rows, int column, bool ascending) {
    int exchanges = 0;
    if (column < 0 || column >= kAffiliateColumnCount || rows.size() < 2)
        return 0;
    std::vector<uint32_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<uint32_t>(i);
    QuickSort(rows, order, column, ascending, 0, static_cast<int>(rows.size()) - 1, exchanges);
    std::vector<AffiliateRow> sorted;
    sorted.reserve(rows.size());
    for (uint32_t from : order)
        sorted.push_back(std::move(rows[from]));
    rows.swap(sorted);
    return exchanges;
}
