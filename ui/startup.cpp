#include "ui/startup.h"

#include <QApplication>

#include "chart/files/local_path.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/artwork/artwork.h"
#include "ui/error_box.h"
#include "ui/guarded_call.h"
#include "ui/update_bridge.h"
#include "update/data_server.h"
#include "update/startup_recovery.h"

namespace vantrel::ui {
namespace {

// The last line of defence: an error that escapes an event handler not
// already guarded is shown in the standard error box and the loop goes on.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        bool handled = false;
        RunGuarded(nullptr, [&] { handled = QApplication::notify(receiver, event); });
        return handled;
    }
};

}  // namespace

int Run(int argc, char** argv) { return Run(argc, argv, update::kDataServer); }

int Run(int argc, char** argv, const std::string& dataServer) {
    // The HTTP library is set up by the first update, on this thread, not here:
    // a start that never updates need not load its TLS set-up.
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QApplication::setWindowIcon(ApplicationIcon());

    // Form1's creation loads the chart, message boxes and all.
    const std::string chartDirectory = chart::ExecutableDirectory();
    // An update killed while putting the new files in place is completed first;
    // one that cannot be is reported instead of loading a mixed chart.
    const auto unfinishedUpdate = update::RecoverChartFolder(chartDirectory);
    TForm1 form1(chartDirectory, {}, nullptr, unfinishedUpdate.value_or(std::string()));
    // The about box, created hidden; it lives as long as Form1.
    form1.SetAboutBox(new TOKRightDlg(form1.Documents(), &form1));
    // The Update button and Options/Update; closing Form1 stops a run.
    update::UpdateSettings updateSettings;
    updateSettings.baseUrl = dataServer;
    updateSettings.chartDirectory = chartDirectory;
    UpdateBridge updates(form1, std::move(updateSettings));

    QObject::connect(&form1, &TForm1::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    form1.show();
    return QApplication::exec();
}

}  // namespace vantrel::ui
