#pragma once
// "Side by side" as Qt's item views see it: the shortlisted programs as
// columns; a row for each test's result, its sub-criteria's answers under it,
// then the Total; a row where the programs differ says "differs".
#include <QAbstractTableModel>
#include <QColor>
#include <QPalette>
#include <memory>
#include <vector>

#include "chart/compare/compare_model.h"
#include "chart/compare/side_by_side.h"

namespace vantrel::ui {

// The background of a row where the programs differ: the base colour moved a
// little toward the highlight, so that the text stays legible on a dark palette.
QColor DiffersTint(const QPalette& palette);

class SideBySideModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kLabelColumn = 0;
    static constexpr int kMarkColumn = 1;
    static constexpr int kFirstProgramColumn = 2;

    explicit SideBySideModel(QObject* parent = nullptr);

    // The shortlist of the core model (it must outlive its use here), with
    // the rows where all agree left out or not; resets the views.
    void Show(const chart::CompareModel* core, bool differencesOnly);
    void SetPalette(const QPalette& palette);

    // Fewer than two programs shortlisted: no rows.
    bool Enough() const { return sideBySide_ && sideBySide_->Columns() >= 2; }
    // The program (from 0, in the chart) of a column, or -1.
    int ProgramIn(int column) const;
    const std::vector<chart::SideBySideRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const chart::CompareModel* core_ = nullptr;
    std::unique_ptr<chart::SideBySide> sideBySide_;
    std::vector<chart::SideBySideRow> rows_;
    QColor tint_;
    QColor text_;
};

}  // namespace vantrel::ui
