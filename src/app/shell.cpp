#include "app/mainwindow.h"
#include "app/manual.h"
#include "files/filecommands.h"
#include "platform/platform.h"
#include "preview/testrun.h"
#include "sequence/sequencedocument.h"

namespace {

QString blanks(int count)
{
    return QString(count, QLatin1Char(' '));
}

// Our own neutral credits for the About box and the manual prompt.
const QString kAuthor = QStringLiteral("The GLIMMERON editor developers");
const QString kWebAddress = QStringLiteral("www.example.org/glimmeron");
const QString kSiteName = QStringLiteral("GLIMMERON editor");

} // namespace

void MainWindow::exitButton()
{
    m_testRun->stop();
    askToExit();
}

// With unsaved changes, their question replaces the exit question.
void MainWindow::askToExit()
{
    const QString text = blanks(23) + tr("OK to Really Exit ?\r\r") + blanks(12) +
                         tr("(Be sure you have saved your files)");
    if (m_document->isModified()
            ? settleUnsavedChanges()
            : m_platform.messageBox(text, applicationTitle(), Platform::Buttons::OkCancel,
                                    Platform::Icon::None) == Platform::Answer::Ok)
        quitWhenIdle();
}

bool MainWindow::settleUnsavedChanges()
{
    if (!m_document->isModified())
        return true;
    const QString text =
        tr("The changes to %1 are not saved.\r\rSave them before the program ends?")
            .arg(m_files->sequenceName());
    switch (m_platform.messageBox(text, applicationTitle(), Platform::Buttons::SaveDiscardCancel,
                                  Platform::Icon::Question)) {
    case Platform::Answer::Save:
        return m_files->save(); // a cancelled or failed Save keeps the program open
    case Platform::Answer::Discard:
        return true;
    default:
        return false;
    }
}

void MainWindow::showAbout()
{
    const QStringList lines{
        blanks(25) + tr("G L I M M E R O N"),
        blanks(22) + QString(18, QLatin1Char('=')),
        tr("  Programmable LED Sequencer/Flasher  - Rev4"),
        blanks(27) + tr("By:  ") + kAuthor,
        blanks(26) + kWebAddress,
        blanks(33) + tr("Jan 2011"),
    };
    m_platform.messageBox(lines.join(QLatin1Char('\r')), applicationTitle(), Platform::Buttons::Ok,
                          Platform::Icon::None);
}

void MainWindow::showManual()
{
    const QString text = tr("\r Click OK to view the Glimmeron Users' Manual on the ") + kSiteName +
                         tr(" webpage...");
    const QString title = tr("GLIMMERON  -  Programmable LED Sequencer/Flasher Users' Manual");
    if (m_platform.messageBox(text, title, Platform::Buttons::OkCancel,
                              Platform::Icon::Exclamation) != Platform::Answer::Ok)
        return;
    // Without a browser (or a manual on disk) the built-in copy shows in our own window.
    auto builtIn = [this, title] { m_platform.showDocument(title, builtInManual()); };
    if (m_manualUrl.isEmpty())
        builtIn();
    else
        m_platform.openUrl(m_manualUrl, builtIn);
}
