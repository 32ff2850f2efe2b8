#pragma once
// "Programs" as Qt's item views see it: a row for each program of the compare
// model in the grid's order, its name and results as the grid shows them, and
// a check box on the name for the shortlist.
#include <QAbstractTableModel>

#include "chart/compare/compare_model.h"

namespace vantrel::ui {

class ProgramsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProgramsModel(QObject* parent = nullptr);

    // The core model drawn (it must outlive its use here); resets the views.
    void SetCore(chart::CompareModel* core);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Puts program p on the shortlist or takes it off, as its check box does.
    bool SetShortlisted(int p, bool shortlisted);

signals:
    void shortlistChanged();
    // A sixth program was refused: why.
    void shortlistRefused(const QString& why);

private:
    chart::CompareModel* core_ = nullptr;
};

}  // namespace vantrel::ui
