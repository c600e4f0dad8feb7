#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Platform;
class QIODevice;
class StandardOutput;

// What the program was asked to do by its arguments.
struct CommandLine
{
    enum class Action {
        Window,
        Help,
        Version,
        ListPorts,
        Stream,
        Download,
        ExportPng,
        ExportGif,
        UsageError
    };
    Action action = Action::Window;
    QString file;   // opened in the window, or streamed, downloaded or exported
    QString output; // where an export goes
    int port = 0;   // --port; 0: the number in LED.cfg
    bool yes = false;
    bool quiet = false; // no progress lines
    QString error;      // for UsageError: the message and the usage
};

CommandLine parseCommandLine(const QStringList& arguments);
// Exports draw text: they need a QGuiApplication (on the offscreen platform will do).
bool needsGui(const CommandLine& command);
QString commandLineHelp();

// Where a command without a window writes, and how it asks the user.
struct Console
{
    StandardOutput& out; // written once, at the end, and closed
    QIODevice& err;
    bool errIsTerminal = false;
    // On a terminal only, empty elsewhere: true for Enter, false at the end of input
    // or when a signal broke the wait.
    std::function<bool()> waitForEnter;
};

// Runs every action but Window. Exit status: 0 done, 1 the port, the transfer or the
// output failed, 2 a refused file or bad arguments, 128 + n when signal n stopped it.
int runCommand(const CommandLine& command, Platform& platform, const QString& ledCfgPath,
               Console& console);
