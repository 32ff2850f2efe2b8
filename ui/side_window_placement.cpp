// Where What changed and Compare open: beside the main window, off its grid and details panel.
#include "ui/side_window_placement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>

namespace vantrel::ui {
namespace {

long long Area(const QRect& rect) { return rect.isEmpty() ? 0 : 1LL * rect.width() * rect.height(); }

// A frame of at most `wanted`, at least `least`, in the room given, its corner
// at `corner` and moved inside the room; none when the room is too small.
std::optional<QRect> FitInto(const QRect& room, QSize wanted, QSize least, QPoint corner) {
    if (room.width() < least.width() || room.height() < least.height()) return std::nullopt;
    QRect frame(corner, wanted.boundedTo(room.size()));
    frame.moveLeft(std::clamp(frame.left(), room.left(), room.right() + 1 - frame.width()));
    frame.moveTop(std::clamp(frame.top(), room.top(), room.bottom() + 1 - frame.height()));
    return frame;
}

}  // namespace

QRect PlaceBeside(QSize wanted, QSize least, const QRect& main, const QRect& keep, const QRect& screen) {
    least = least.boundedTo(wanted);
    const QRect below(screen.left(), main.bottom() + 1, screen.width(), screen.bottom() - main.bottom());
    const QRect right(main.right() + 1, screen.top(), screen.right() - main.right(), screen.height());
    const QRect left(screen.left(), screen.top(), main.left() - screen.left(), screen.height());
    const QRect above(screen.left(), screen.top(), screen.width(), main.top() - screen.top());
    const QRect belowKept(screen.left(), keep.bottom() + 1, screen.width(), screen.bottom() - keep.bottom());
    const std::array<std::pair<QRect, QPoint>, 5> rooms{{
        {below, QPoint(main.left(), below.top())},
        {right, QPoint(right.left(), main.top())},
        {left, QPoint(left.right() + 1 - wanted.width(), main.top())},
        {above, QPoint(main.left(), above.bottom() + 1 - wanted.height())},
        {belowKept, QPoint(main.left(), belowKept.top())},
    }};
    for (const auto& [room, corner] : rooms) {
        if (const auto frame = FitInto(room.intersected(screen), wanted, least, corner)) return *frame;
    }
    // No room beside: the whole screen's corners and edges, the one that
    // hides least of what the reader is looking at.
    const QSize size = wanted.boundedTo(screen.size());
    QRect best(screen.topLeft(), size);
    for (int x : {screen.left(), screen.right() + 1 - size.width()}) {
        for (int y : {screen.top(), screen.bottom() + 1 - size.height()}) {
            const QRect frame(QPoint(x, y), size);
            if (Area(frame.intersected(keep)) < Area(best.intersected(keep))) best = frame;
        }
    }
    return best;
}

SideWindowPlacement::SideWindowPlacement(QWidget& window, QWidget& mainWindow, QSize least,
                                         std::function<QRect()> keep)
    : QObject(&window), window_(window), main_(mainWindow), least_(least), keep_(std::move(keep)) {
    window_.installEventFilter(this);
}

void SideWindowPlacement::Show() {
    QScreen* screen = main_.screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The frame's own margins are known only once a window manager framed it:
    // the main window's stand in for them the first time.
    const QMargins margins(main_.geometry().left() - main_.frameGeometry().left(),
                           main_.geometry().top() - main_.frameGeometry().top(),
                           main_.frameGeometry().right() - main_.geometry().right(),
                           main_.frameGeometry().bottom() - main_.geometry().bottom());
    if (left_) {
        QPoint corner = *left_;
        const QSize frame = window_.frameGeometry().size();
        corner.setX(std::clamp(corner.x(), available.left(), std::max(available.left(), available.right() + 1 - frame.width())));
        corner.setY(std::clamp(corner.y(), available.top(), std::max(available.top(), available.bottom() + 1 - frame.height())));
        window_.move(corner);
    } else {
        const QRect keep = keep_();
        const QRect keepOnScreen(main_.mapToGlobal(keep.topLeft()), keep.size());
        const QSize grow(margins.left() + margins.right(), margins.top() + margins.bottom());
        const QRect frame = PlaceBeside(window_.sizeHint().expandedTo(window_.minimumSize()) + grow,
                                        least_ + grow, main_.frameGeometry(), keepOnScreen, available);
        window_.resize(frame.size() - grow);
        window_.move(frame.topLeft());
    }
    window_.show();
    window_.raise();
    window_.activateWindow();
}

bool SideWindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Hide && !window_.isMinimized())
        left_ = window_.frameGeometry().topLeft();
    return QObject::eventFilter(watched, event);
}

}  // namespace vantrel::ui
