#pragma once

#include "core/editsession.h"

#include <QObject>
#include <QString>
#include <memory>

// The editing session as the window's widgets see it: its state in Qt types and its
// changes as signals. The session itself holds the sequence, the history, the cursor and
// the selection; every command goes to it through session().
class SequenceDocument : public QObject
{
    Q_OBJECT
public:
    explicit SequenceDocument(QObject* parent = nullptr);
    ~SequenceDocument() override;

    EditSession& session() { return m_session; }
    const EditSession& session() const { return m_session; }

    bool cell(int led, int slot) const { return m_session.cell(led, slot); }
    int eventValue(int slot) const { return m_session.eventValue(slot); }
    int lastEvent() const { return m_session.lastEvent(); }
    int colourIndex(int entry) const { return m_session.colourIndex(entry); }
    int servoMode(int led) const { return m_session.servoMode(led); }
    int sequencerDelay() const { return m_session.sequencerDelay(); }
    int testSpeed() const { return m_session.testSpeed(); }
    SequenceData data() const { return m_session.data(); }
    QString filePath() const { return QString::fromStdString(m_session.filePath()); }
    QString title() const { return QString::fromStdString(m_session.title()); }
    bool isModified() const { return m_session.isModified(); }

Q_SIGNALS:
    void cellChanged(int led, int slot);
    void lastEventChanged(int previous, int slot);
    void colourChanged(int led);
    void servoModeChanged(int led);
    void timingChanged();
    void fileChanged();
    void modifiedChanged(bool modified);
    void historyChanged();
    void cursorChanged();

private:
    class Relay;
    std::unique_ptr<Relay> m_relay;
    EditSession m_session;
};
