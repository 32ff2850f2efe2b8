#include "chart/chart_form.h"
#include "chart/details/conversion_error.h"
#include "chart/details/web_address.h"

namespace chart {

void ChartForm::StringGrid1SelectCell(int ACol, int ARow, bool& CanSelect, SelectionCause cause) {
    (void)CanSelect;  // every selection proceeds
    const int C = grid_.ColCount();
    const int R = grid_.RowCount();
    const bool byUser = cause == SelectionCause::User;

    ports_.details.Clear();
    // Only rows with a table slot have anything to show or open.
    if (ARow < 1 || ARow > kMaxPrograms) return;

    try {
        if (0 < ACol && ACol < C - 1 && ARow <= R) {
            ports_.details.SetText(GetHintForTest(ARow, ACol));
        } else if (ACol == C - 1) {
            ports_.details.Clear();
            for (int m = 1; m <= C - 2; ++m)
                ports_.details.SetText(ports_.details.Text() + GetHintForTest(ARow, m));
        } else if (ACol == 0 && byUser) {
            // A move made by the row-count rule during a load is not the
            // user's choice: it opens nothing.
            const std::string& address = tables_.ProductUrl(ARow);
            if (const auto toOpen = AddressToOpen(address))
                ports_.documents.OpenDocument(*toOpen);
            else
                ports_.messages.ShowMessage(kNotWebAddressMessage + address);
        }
    } catch (const ConversionError&) {
        if (byUser) throw;
        // During a load a bad count must not abort it: the panel stays empty.
        ports_.details.Clear();
    }
}

}  // namespace chart
