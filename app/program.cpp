// The program wired: start-up's recovery, the window, the updates and the session's end.
#include "app/program.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "chart/files/chart_directory.h"
#include "chart/publisher_values.h"
#include "folder/startup_recovery.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/artwork/built_pictures.h"
#include "ui/error_box.h"
#include "ui/event_loop_wait.h"
#include "ui/guarded_call.h"
#include "ui/ports/message_box.h"
#include "ui/termination_requests.h"
#include "ui/update_bridge.h"
#include "update/update_thread.h"

namespace vantrel {

using namespace ui;

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

static int RunWindow(int argc, char** argv, const std::string& dataServer);

int RunProgram(int argc, char** argv, const std::string& dataServer) {
    const int status = RunWindow(argc, argv, dataServer);
    // An update left behind at the close (blocked in the system: a FIFO's
    // open, an fsync on a stuck disk) must not keep the program: it ends
    // without waiting for it and without running the exit handlers under its
    // feet. The update lock goes with the process; the next start finishes or
    // clears what the run left.
    if (update::UpdateThread::AnyLeftBehind()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

static int RunWindow(int argc, char** argv, const std::string& dataServer) {
    // The HTTP library is set up by the first update, on this thread, not here:
    // a start that never updates need not load its TLS set-up.
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    // Where the user's settings are kept (the Compare window's choices):
    // $XDG_CONFIG_HOME/Vantrel/Vantrel.conf.
    QApplication::setOrganizationName(QString::fromLatin1(kApplicationTitle));
    // Ties the window to its desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(chart::kDesktopId));
    QApplication::setWindowIcon(WindowIcon(app.devicePixelRatio()));
    // The session ending the program closes it as File/Exit does; during the
    // start-up's message boxes it leaves them and ends before showing Form1.
    TerminationRequests termination;
    QObject::connect(&termination, &TerminationRequests::requested, &app, [] {
        QApplication::closeAllWindows();
        QCoreApplication::exit(0);
    });

    // Where the chart lives, decided once: reading, the update, its lock and
    // the recovery below all use this one folder.
    MessageBoxPort startMessages(nullptr);
    const std::string chartDirectory =
        chart::ChooseChartDirectory(chart::RunningProgramPlaces(), startMessages);
    // An update killed while putting the new files in place is completed first;
    // one that cannot be is reported instead of loading a mixed chart. With no
    // chart folder at all (said above) there is nothing to finish or read.
    // Every wait on the folder keeps the session's end request heard.
    const auto ending = [&termination] { return termination.Requested(); };
    EventLoopWait startWait(ending);
    std::optional<folder::Failure> unfinishedUpdate;
    if (!chartDirectory.empty())
        unfinishedUpdate = folder::RecoverChartFolder(chartDirectory, &startWait);
    if (termination.Requested()) return 0;
    // Another copy finishing that commit: the reload waits for it.
    if (unfinishedUpdate && unfinishedUpdate->kind == folder::Failure::Kind::AnotherCopyUpdating)
        unfinishedUpdate.reset();
    // Form1's creation loads the chart, message boxes and all, as the folder's
    // protocol reads it.
    FormPorts ports;
    ports.programEnding = ending;
    TForm1 form1(chartDirectory, ports, nullptr,
                 unfinishedUpdate ? folder::NotReadMessage(*unfinishedUpdate) : std::string());
    // The about box, created hidden; it lives as long as Form1.
    form1.SetAboutBox(new TOKRightDlg(form1.Documents(), &form1));
    // The Update button and Options/Update; closing Form1 stops a run.
    update::UpdateSettings updateSettings;
    updateSettings.baseUrl = dataServer;
    updateSettings.chartDirectory = chartDirectory;
    update::UpdateThread updates(std::move(updateSettings));
    UpdateBridge bridge(form1, updates);

    QObject::connect(&form1, &TForm1::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (termination.Requested()) return 0;
    form1.show();
    return QApplication::exec();
}

}  // namespace vantrel
