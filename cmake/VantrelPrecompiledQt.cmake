# Qt's widget headers are most of what a window file compiles (about two
# thirds of its time): the targets with many such files compile them once per
# target instead of once per file.
set(VANTREL_PRECOMPILED_QT
  <QApplication> <QWidget> <QDialog> <QMainWindow> <QLabel> <QPlainTextEdit> <QTableView>
  <QPainter> <QImage> <QPixmap> <QString>)

# vantrel_precompile_qt(TARGET [HEADER...]): the Qt headers above, and the
# given ones, precompiled for TARGET.
function(vantrel_precompile_qt target)
  target_precompile_headers(${target} PRIVATE ${VANTREL_PRECOMPILED_QT} ${ARGN})
endfunction()
