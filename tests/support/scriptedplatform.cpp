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

// The real port: tests point it at a pseudo-terminal through GLIMMERON_PORT_<n>.
std::unique_ptr<SerialLink> ScriptedPlatform::createSerialLink()
{
    return std::make_unique<QtSerialLink>();
}
