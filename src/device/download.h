#pragma once

#include <QObject>
#include <QString>

class DownloadSession;
class Platform;
class SequenceDocument;

// The Download command: opens the port, asks the user to ready the device, then sends
// the document's values at the device's pace, reading each one as its record goes out.
class Download : public QObject
{
    Q_OBJECT
public:
    Download(SequenceDocument& document, Platform& platform, QObject* parent = nullptr);

    // From the port check to the last record; returns while the records go out.
    void start(int portNumber);
    // From the port check to the end of the stream.
    bool busy() const { return m_busy; }
    // Records are going out.
    bool sending() const;
    // The program ends after this download, asked to by a signal, with nobody to answer
    // a box: a failure goes to standard error instead.
    void failWithoutBox() { m_withoutBox = true; }

Q_SIGNALS:
    // The commands that must not overlap a download are off while `busy`.
    void busyChanged(bool busy);
    // Record 1 is out; the silent pause follows at once.
    void streamStarted();
    void recordSent(int index);
    // The result for the status bar, also of a download that could not start.
    void statusChanged(const QString& text);
    void finished();

private:
    void setBusy(bool busy);
    void done(const QString& error);
    void problem(const QString& text);

    SequenceDocument& m_document;
    Platform& m_platform;
    DownloadSession* m_session;
    bool m_busy = false;
    bool m_withoutBox = false;
    int m_portNumber = 0;
    QString m_device;
};
