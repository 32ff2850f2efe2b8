// "Side by side" printed, as a table in a text document.
#include "ui/compare/side_by_side_print.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include "chart/compare/side_by_side.h"
#include "ui/compare/side_by_side_model.h"

namespace vantrel::ui {

std::unique_ptr<QTextDocument> SideBySideDocument(const SideBySideModel& model) {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    QTextCharFormat title;
    title.setFontPointSize(14);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Compare"), title);
    cursor.insertBlock();
    cursor.setCharFormat(QTextCharFormat());
    if (!model.Enough()) {
        cursor.insertText(QString::fromLatin1(chart::kSideBySideNeedsTwo));
        return document;
    }
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    const int rows = model.rowCount(), columns = model.columnCount();
    QTextTable* table = cursor.insertTable(rows + 1, columns, format);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (int column = 0; column < columns; ++column)
        table->cellAt(0, column).firstCursorPosition().insertText(model.headerData(column, Qt::Horizontal).toString(), bold);
    for (int row = 0; row < rows; ++row) {
        const bool heading = model.Rows()[static_cast<std::size_t>(row)].subCriterion == 0;
        for (int column = 0; column < columns; ++column)
            table->cellAt(row + 1, column).firstCursorPosition().insertText(
                model.data(model.index(row, column)).toString(), heading ? bold : QTextCharFormat());
    }
    return document;
}

}  // namespace vantrel::ui
