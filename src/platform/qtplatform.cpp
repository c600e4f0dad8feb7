#include "platform/qtplatform.h"

#include "platform/layout.h"
#include "platform/seriallink.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSerialPortInfo>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

Platform::Answer QtPlatform::messageBox(const QString& prompt, const QString& title,
                                        Buttons buttons, Icon icon)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    // Carriage returns are the line breaks of our texts; the label wants line feeds.
    box.setText(QString(prompt).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        return Answer::Cancel;
    }
}

QString QtPlatform::toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^)]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        name.remove(trailingPatterns);
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (p == QLatin1String("*.*")) { // "all files", also those without a dot
                patterns << QStringLiteral("*");
                continue;
            }
            for (const QString& variant : {p.toLower(), p.toUpper()}) {
                if (!patterns.contains(variant))
                    patterns << variant;
            }
        }
        out << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return out.join(QStringLiteral(";;"));
}

namespace {

QString startPath(const Platform::FileDialogRequest& request)
{
    if (request.folder.isEmpty())
        return request.initialName;
    return QDir(request.folder).filePath(request.initialName);
}

} // namespace

std::optional<QString> QtPlatform::openFileName(const FileDialogRequest& request)
{
    const QString name = QFileDialog::getOpenFileName(m_parent, request.title, startPath(request),
                                                      toQtFilter(request.filter));
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> QtPlatform::saveFileName(const FileDialogRequest& request)
{
    // Save asks its own replace question.
    const QString name = QFileDialog::getSaveFileName(m_parent, request.title, startPath(request),
                                                      toQtFilter(request.filter), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> QtPlatform::folderName(const FileDialogRequest& request)
{
    const QString name =
        QFileDialog::getExistingDirectory(m_parent, request.title, startPath(request));
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::unique_ptr<SerialLink> QtPlatform::createSerialLink()
{
    return std::make_unique<QtSerialLink>();
}

QList<SerialPortEntry> QtPlatform::serialPorts()
{
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        ports.append({info.portName(), info.description()});
#else
        ports.append({info.systemLocation(), info.description()});
#endif
    }
    return ports;
}

void QtPlatform::openUrl(const QUrl& url, std::function<void()> failed)
{
#ifdef Q_OS_LINUX
    // The launcher is watched: one that is missing, or installed without a browser to
    // start, says so only through its exit status.
    auto* launcher = new QProcess(qApp);
    QObject::connect(launcher, &QProcess::finished, launcher,
                     [launcher, failed](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             failed();
                         launcher->deleteLater();
                     });
    QObject::connect(launcher, &QProcess::errorOccurred, launcher,
                     [launcher, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         failed();
                         launcher->deleteLater();
                     });
    launcher->start(QStringLiteral("xdg-open"), {url.toString()});
#else
    if (!QDesktopServices::openUrl(url))
        failed();
#endif
}

// One window, raised again on the next request; it fits the screen and, being a dialog,
// closes with Escape.
void QtPlatform::showDocument(const QString& title, const QString& html)
{
    if (!m_document) {
        auto* window = new QDialog(m_parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(window);
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser);
        m_document = window;
    }
    // At the main window's scale, within the screen.
    const double scale = kDesignTwipsPerPixel / twipsPerPixel();
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * scale);
    m_document->setFont(font);
    QSize size = QSize(800, 600) * scale;
    if (const QScreen* screen = m_parent ? m_parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    if (!m_document->isVisible())
        m_document->resize(size);
    m_document->setWindowTitle(title);
    m_document->findChild<QTextBrowser*>()->setHtml(html);
    m_document->show();
    m_document->raise();
    m_document->activateWindow();
}

void QtPlatform::quit()
{
    std::fflush(nullptr);
    std::_Exit(0);
}
