// The form fixture: a real Form1 over a chart written to a temporary directory.
#include "form_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "ui/grid/chart_grid.h"
#include "ui/ports/message_box.h"
#include "ui/text/byte_text.h"

namespace vantrel::ui::testing {

void WriteSampleChart(const ChartDirectory& directory, int programs) {
    directory.Write("version", "10\r\n10\r\n");
    std::string data;
    const char* names[] = {"Alpha", "Bravo", "Charlie", "Delta"};
    for (int p = 0; p < programs; ++p) {
        data += "http://www.prog" + std::to_string(p + 1) + ".example/\r\n";
        data += (p < 4 ? std::string(names[p]) : "Program " + std::to_string(p + 1)) + "\r\n";
        data += "10 01 11 00 1x 0\r\n";
        data += "1 2 3 4 5 6 " + std::to_string(21 + p) + "\r\n\r\n";
    }
    directory.Write("data", data);
    std::string policy;
    const char* tests[] = {"OS support", "Demo version", "Interception",
                           "Log viewing", "Security", "Network options"};
    for (const char* test : tests)
        policy += std::string(test) + "\r\nFirst\r\nSecond\r\n\r\n";
    directory.Write("policy", policy);
}

ModalDismisser::ModalDismisser() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
}

void ModalDismisser::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    Seen box{modal->objectName().toStdString(), modal->windowTitle().toStdString(), {}, false, true};
    for (const QLabel* label : modal->findChildren<QLabel*>())
        if (!label->text().isEmpty() && label->textFormat() != Qt::PlainText)
            box.plainText = false;
    if (auto* message = qobject_cast<MessageDialog*>(modal))
        box.text = EncodeUtf8(message->Text());
    else if (auto* error = qobject_cast<QMessageBox*>(modal))
        box.text = EncodeUtf8(error->text());
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("Form1") && top->isVisible())
            box.mainWindowVisible = true;
    seen.push_back(box);
    // Enter on the "OK" button, as a person would.
    QTest::keyClick(modal, Qt::Key_Return);
}

namespace {
FocusReports* recording = nullptr;
}

FocusReports::FocusReports() {
    recording = this;
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        if (recording && event->type() == QAccessible::Focus)
            recording->seen.emplace_back(event->object(), event->child());
    });
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
}

FocusReports::~FocusReports() {
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    QAccessible::installUpdateHandler(nullptr);
    recording = nullptr;
}

void FormTest::Open(bool show) {
    form_ = std::make_unique<TForm1>(dir_.Path(), FormPorts{nullptr, &documents_});
    if (show) {
        form_->show();
        form_->activateWindow();
        QApplication::processEvents();
    }
}

void FormTest::CountSelections() {
    form_->GridModel().SetOnSelectCell([this](int col, int row, chart::SelectionCause cause) {
        selections_.emplace_back(col, row);
        bool canSelect = true;
        form_->Chart().StringGrid1SelectCell(col, row, canSelect, cause);
    });
}

QPoint FormTest::CellCentre(int col, int row) {
    return form_->StringGrid1().CellRect(col, row).center();
}

std::string FormTest::MemoText() { return EncodeUtf8(form_->Memo1().toPlainText()); }

}  // namespace vantrel::ui::testing
