// The compare window's choices read from and written to the user's settings.
#include "ui/compare/compare_settings.h"

#include <QSettings>

#include "chart/compare/compare_model.h"

namespace vantrel::ui {
namespace {

const QString kGroup = QStringLiteral("Compare");
// Bounds on what is read back, whatever the file holds.
constexpr int kMaxMustHaves = chart::kTestCount * chart::kMaxSubCriteria;
constexpr int kMaxTextBytes = 16 * 1024;  // a name as shown, 2000 characters, in UTF-8

std::string Text(const QSettings& settings, const QString& key) {
    std::string text = settings.value(key).toString().toStdString();
    if (text.size() > kMaxTextBytes) text.resize(kMaxTextBytes);
    return text;
}

}  // namespace

chart::CompareChoices LoadCompareChoices() {
    QSettings settings;
    settings.beginGroup(kGroup);
    chart::CompareChoices choices;
    bool ok = false;
    const int column = settings.value(QStringLiteral("sortColumn"), -1).toInt(&ok);
    choices.sortColumn = ok && column >= 0 && column < chart::kCompareColumns ? column : -1;
    choices.order = settings.value(QStringLiteral("sortOrder")).toString() == QLatin1String("descending")
                        ? chart::SortOrder::Descending
                        : chart::SortOrder::Ascending;

    const int programs = std::min(settings.beginReadArray(QStringLiteral("shortlist")), chart::kMaxShortlist);
    for (int i = 0; i < programs; ++i) {
        settings.setArrayIndex(i);
        chart::ProgramKey key{Text(settings, QStringLiteral("address")), Text(settings, QStringLiteral("name")),
                              settings.value(QStringLiteral("ordinal"), 1).toInt()};
        if (key.ordinal >= 1) choices.shortlist.push_back(std::move(key));
    }
    settings.endArray();

    const int mustHaves = std::min(settings.beginReadArray(QStringLiteral("mustHaves")), kMaxMustHaves);
    for (int i = 0; i < mustHaves; ++i) {
        settings.setArrayIndex(i);
        chart::SubCriterionKey key{settings.value(QStringLiteral("test")).toInt(), Text(settings, QStringLiteral("name")),
                                   settings.value(QStringLiteral("ordinal"), 1).toInt()};
        if (key.test >= 1 && key.test <= chart::kTestCount && key.ordinal >= 1) choices.mustHaves.push_back(std::move(key));
    }
    settings.endArray();
    return choices;
}

void SaveCompareChoices(const chart::CompareChoices& choices) {
    QSettings settings;
    settings.remove(kGroup);
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("sortColumn"), choices.sortColumn);
    settings.setValue(QStringLiteral("sortOrder"), choices.order == chart::SortOrder::Descending
                                                       ? QStringLiteral("descending")
                                                       : QStringLiteral("ascending"));
    settings.beginWriteArray(QStringLiteral("shortlist"), static_cast<int>(choices.shortlist.size()));
    for (int i = 0; i < static_cast<int>(choices.shortlist.size()); ++i) {
        const chart::ProgramKey& key = choices.shortlist[static_cast<std::size_t>(i)];
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("address"), QString::fromStdString(key.address));
        settings.setValue(QStringLiteral("name"), QString::fromStdString(key.name));
        settings.setValue(QStringLiteral("ordinal"), key.ordinal);
    }
    settings.endArray();
    settings.beginWriteArray(QStringLiteral("mustHaves"), static_cast<int>(choices.mustHaves.size()));
    for (int i = 0; i < static_cast<int>(choices.mustHaves.size()); ++i) {
        const chart::SubCriterionKey& key = choices.mustHaves[static_cast<std::size_t>(i)];
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("test"), key.test);
        settings.setValue(QStringLiteral("name"), QString::fromStdString(key.name));
        settings.setValue(QStringLiteral("ordinal"), key.ordinal);
    }
    settings.endArray();
    settings.endGroup();
}

}  // namespace vantrel::ui
