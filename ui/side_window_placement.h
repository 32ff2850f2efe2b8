#pragma once
// Where a window that points into the chart (What changed, Compare) opens:
// beside the main window, never over its grid and details panel, and again
// where the reader last put it, for as long as the program runs.
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class QWidget;

namespace vantrel::ui {

// The frame for a window that would like `wanted` (and can do with `least`)
// within `screen`, covering nothing of `keep` (in screen coordinates, inside
// the main window's frame `main`): below the main window, right of it, left
// of it, above it, or below `keep` over the main window's bottom strip, each
// shrunk to the room there down to `least`; where none has room, the place
// that covers least of `keep`.
QRect PlaceBeside(QSize wanted, QSize least, const QRect& main, const QRect& keep, const QRect& screen);

// Shows `window` (a top-level window of its own, not kept above the main
// window) where PlaceBeside puts it the first time, and where the reader left
// it every time after.
class SideWindowPlacement : public QObject {
public:
    // keep: what must stay visible, in the main window's coordinates.
    SideWindowPlacement(QWidget& window, QWidget& mainWindow, QSize least, std::function<QRect()> keep);

    // Shows the window, raised and active.
    void Show();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    QWidget& main_;
    QSize least_;
    std::function<QRect()> keep_;
    std::optional<QPoint> left_;  // where the reader left it (its frame's corner)
};

}  // namespace vantrel::ui
