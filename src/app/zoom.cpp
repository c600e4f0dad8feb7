#include "app/mainwindow.h"
#include "files/savefile.h"
#include "platform/platform.h"
#include "platform/scaledview.h"
#include "settings/settingsdialog.h"

#include <QAction>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace {

// A title bar and borders, until the window is shown and its frame known.
constexpr QSize kFrameAllowance(16, 48);

} // namespace

void MainWindow::wireZoom()
{
    connect(m_ui.MENUzoomin, &QAction::triggered, this,
            [this] { zoomTo(zoomRange().zoomedIn(twipsPerPixel())); });
    connect(m_ui.MENUzoomout, &QAction::triggered, this,
            [this] { zoomTo(zoomRange().zoomedOut(twipsPerPixel())); });
    connect(m_ui.MENUactualsize, &QAction::triggered, this,
            [this] { zoomTo(zoomRange().actualSize()); });
    // The settings window follows the scale; the manual takes it when it next opens.
    connect(m_ui.view, &ScaledView::rescaled, this, [this] {
        if (m_settingsDialog && m_settingsDialog->isVisible())
            m_settingsDialog->fitToScale();
    });
    restoreWindowSize();
}

ZoomRange MainWindow::zoomRange() const
{
    const QSize bars(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    const QSize frame = isVisible() ? frameGeometry().size() - size() : kFrameAllowance;
    return ::zoomRange(screen()->availableGeometry().size(), bars + frame);
}

// The window takes the size of the client area at the new scale, the view scales to it; the
// window moves to stay on its screen.
void MainWindow::zoomTo(double factor)
{
    if (isMaximized() || isFullScreen())
        showNormal();
    const QSize window = clientPixels(factor) + size() - m_ui.view->size();
    const QRect available = screen()->availableGeometry();
    QRect frame(frameGeometry().topLeft(), window + frameGeometry().size() - size());
    frame.moveLeft(
        std::max(available.left(), std::min(frame.left(), available.right() - frame.width())));
    frame.moveTop(
        std::max(available.top(), std::min(frame.top(), available.bottom() - frame.height())));
    move(frame.topLeft());
    resize(window);
}

// The size the user left, within the screen the window opens on.
void MainWindow::restoreWindowSize()
{
    const QStringList lines = readListFile(m_windowSizePath);
    const QStringList size = lines.value(0).split(QLatin1Char(' '));
    const QSize wanted(size.value(0).toInt(), size.value(1).toInt());
    if (wanted.isEmpty())
        return;
    resize(wanted.boundedTo(screen()->availableGeometry().size() - kFrameAllowance));
    if (lines.contains(QStringLiteral("maximised")))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::storeWindowSize()
{
    const bool full = isMaximized() || isFullScreen();
    const QSize size = full && !normalGeometry().isEmpty() ? normalGeometry().size() : this->size();
    QStringList lines{QStringLiteral("%1 %2").arg(size.width()).arg(size.height())};
    if (full)
        lines << QStringLiteral("maximised");
    if (lines == readListFile(m_windowSizePath))
        return;
    // The program is ending: no box, a line on standard error.
    if (const QString problem = writeListFile(m_windowSizePath, lines); !problem.isEmpty())
        m_platform.printError(problem);
}
