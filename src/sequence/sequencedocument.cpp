#include "sequence/sequencedocument.h"

// Passes the session's news on as the document's signals.
class SequenceDocument::Relay : public SessionObserver
{
public:
    explicit Relay(SequenceDocument& document) : m_d(document) {}
    void cellChanged(int led, int slot) override { Q_EMIT m_d.cellChanged(led, slot); }
    void lastEventChanged(int previous, int slot) override
    {
        Q_EMIT m_d.lastEventChanged(previous, slot);
    }
    void colourChanged(int led) override { Q_EMIT m_d.colourChanged(led); }
    void servoModeChanged(int led) override { Q_EMIT m_d.servoModeChanged(led); }
    void timingChanged() override { Q_EMIT m_d.timingChanged(); }
    void fileChanged() override { Q_EMIT m_d.fileChanged(); }
    void modifiedChanged(bool modified) override { Q_EMIT m_d.modifiedChanged(modified); }
    void historyChanged() override { Q_EMIT m_d.historyChanged(); }
    void cursorChanged() override { Q_EMIT m_d.cursorChanged(); }

private:
    SequenceDocument& m_d;
};

SequenceDocument::SequenceDocument(QObject* parent)
    : QObject(parent), m_relay(std::make_unique<Relay>(*this)), m_session(m_relay.get())
{
}

SequenceDocument::~SequenceDocument()
{
    m_session.setObserver(nullptr);
}
