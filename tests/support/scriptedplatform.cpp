#include "scriptedplatform.h"

#include "device/serialport.h"

Platform::Answer ScriptedPlatform::messageBox(const QString& prompt, const QString& title,
                                              Buttons buttons, Icon icon)
{
    messageBoxes << MessageBoxCall{prompt, title, buttons, icon};
    if (onMessageBox)
        onMessageBox(messageBoxes.last());
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

namespace {

class TimedSerialLink : public QtSerialLink
{
public:
    explicit TimedSerialLink(QList<std::chrono::steady_clock::time_point>& writes)
        : m_writes(writes)
    {
    }
    bool write(const QByteArray& bytes, QString* error) override
    {
        m_writes << std::chrono::steady_clock::now();
        return QtSerialLink::write(bytes, error);
    }

private:
    QList<std::chrono::steady_clock::time_point>& m_writes;
};

} // namespace

std::unique_ptr<SerialLink> ScriptedPlatform::createSerialLink()
{
    return std::make_unique<TimedSerialLink>(serialWrites);
}
