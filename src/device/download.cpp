#include "device/download.h"

#include "device/downloadport.h"
#include "device/downloadsession.h"
#include "device/downloadtexts.h"
#include "platform/platform.h"
#include "sequence/sequencedocument.h"

#include <QTime>

Download::Download(SequenceDocument& document, Platform& platform, QObject* parent)
    : QObject(parent), m_document(document), m_platform(platform),
      // Read at the moment of writing: edits made during the pauses still go out.
      m_session(new DownloadSession([this] { return downloadValuesOf(m_document.data()); }, this))
{
    connect(m_session, &DownloadSession::startRecordSent, this, &Download::streamStarted);
    connect(m_session, &DownloadSession::recordSent, this, &Download::recordSent);
    connect(m_session, &DownloadSession::finished, this, &Download::done);
}

bool Download::sending() const
{
    return m_session->running();
}

void Download::setBusy(bool busy)
{
    m_busy = busy;
    Q_EMIT busyChanged(busy);
}

void Download::problem(const QString& text)
{
    Q_EMIT statusChanged(text);
    if (m_withoutBox)
        return m_platform.printError(text.simplified());
    m_platform.messageBox(text, applicationTitle(), Platform::Buttons::Ok,
                          Platform::Icon::Exclamation);
}

void Download::start(int portNumber)
{
    setBusy(true);
    DownloadPort port = openDownloadPort(m_platform, portNumber);
    if (!port.link) {
        problem(port.problem);
        return setBusy(false);
    }
    const Platform::Answer answer =
        m_platform.messageBox(downloadPrompt(), downloadTitle(), Platform::Buttons::OkCancel,
                              Platform::Icon::Exclamation);
    if (answer != Platform::Answer::Ok) {
        port.link->close();
        return setBusy(false);
    }
    m_portNumber = portNumber;
    m_device = port.entry.device;
    Q_EMIT statusChanged(
        tr("Downloading to the GLIMMERON on port %1 (%2) ...").arg(portNumber).arg(m_device));
    m_session->start(std::move(port.link));
}

void Download::done(const QString& error)
{
    setBusy(false);
    if (error.isEmpty())
        Q_EMIT statusChanged(downloadDone(m_portNumber, m_device, QTime::currentTime()));
    else
        problem(downloadBrokenOff(m_portNumber, m_device, error));
    Q_EMIT finished();
}
