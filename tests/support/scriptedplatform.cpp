#include "scriptedplatform.h"

#include "device/serialport.h"

Platform::Answer ScriptedPlatform::messageBox(const QString& prompt, const QString& title,
                                              Buttons buttons, Icon icon)
{
    const MessageBoxCall call{prompt, title, buttons, icon};
    messageBoxes << call;
    if (onMessageBox)
        onMessageBox(call);
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<QString> ScriptedPlatform::nextFile(bool save, const FileDialogRequest& request)
{
    fileDialogs << FileDialogCall{save, request};
    if (fileChoices.isEmpty())
        return std::nullopt;
    return fileChoices.dequeue();
}

std::optional<QString> ScriptedPlatform::openFileName(const FileDialogRequest& request)
{
    return nextFile(false, request);
}

std::optional<QString> ScriptedPlatform::saveFileName(const FileDialogRequest& request)
{
    return nextFile(true, request);
}

namespace {

// The real port, with the moment of every write noted down.
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

// Tests point the port at a pseudo-terminal through GLIMMERON_PORT_<n>.
std::unique_ptr<SerialLink> ScriptedPlatform::createSerialLink()
{
    return std::make_unique<TimedSerialLink>(serialWrites);
}
