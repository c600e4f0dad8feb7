#include "app/commandline.h"

#include "device/downloadport.h"
#include "device/downloadsession.h"
#include "device/downloadtexts.h"
#include "device/portmap.h"
#include "files/savefile.h"
#include "files/sequenceanimation.h"
#include "files/sequenceload.h"
#include "files/sequencepicture.h"
#include "platform/platform.h"
#include "platform/seriallink.h"
#include "platform/signalwatch.h"
#include "platform/standardoutput.h"
#include "settings/ledcfg.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QIODevice>
#include <QTime>
#include <algorithm>
#include <csignal>

namespace {

struct Options
{
    QCommandLineOption listPorts{
        QStringLiteral("list-ports"),
        QCoreApplication::translate("GLIMMERON",
                                    "List the serial port numbers that have a device.")};
    QCommandLineOption stream{
        QStringLiteral("stream"),
        QCoreApplication::translate("GLIMMERON", "Write the 171-byte download image of FILE to "
                                                 "standard output."),
        QStringLiteral("FILE")};
    QCommandLineOption download{
        QStringLiteral("download"),
        QCoreApplication::translate("GLIMMERON", "Send FILE to the GLIMMERON without a window."),
        QStringLiteral("FILE")};
    QCommandLineOption exportPng{
        QStringLiteral("export-png"),
        QCoreApplication::translate("GLIMMERON", "Draw FILE as a PNG picture into the file OUT."),
        QStringLiteral("FILE")};
    QCommandLineOption exportGif{
        QStringLiteral("export-gif"),
        QCoreApplication::translate(
            "GLIMMERON", "Write one cycle of FILE as an animated GIF into the file OUT."),
        QStringLiteral("FILE")};
    QCommandLineOption port{QStringLiteral("port"),
                            QCoreApplication::translate(
                                "GLIMMERON", "Serial port number 1 to 20 for --download (default: "
                                             "the one in LED.cfg)."),
                            QStringLiteral("N")};
    QCommandLineOption yes{
        QStringLiteral("yes"),
        QCoreApplication::translate("GLIMMERON", "Download without waiting for Enter.")};
    QCommandLineOption quiet{
        QStringLiteral("quiet"),
        QCoreApplication::translate("GLIMMERON", "Show no progress while downloading.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QCoreApplication::translate("GLIMMERON", "Show these options.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QCoreApplication::translate("GLIMMERON", "Show the version.")};

    QList<QCommandLineOption> all() const
    {
        return {listPorts, stream, download, exportPng, exportGif, port, yes, quiet, help, version};
    }

    void addTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "GLIMMERON", "Editor and programmer for the GLIMMERON LED sequencer. Without "
                         "options it opens the editor, with FILE in it when given."));
        parser.addOptions(all());
        parser.addPositionalArgument(
            QStringLiteral("FILE"),
            QCoreApplication::translate("GLIMMERON",
                                        "A sequence data file to open; with an export, OUT."),
            QStringLiteral("[FILE | OUT]"));
    }
};

QByteArray text(const QString& words)
{
    return QString(words).replace(QLatin1Char('\r'), QLatin1Char('\n')).toLocal8Bit();
}

void write(QIODevice& device, const QString& words)
{
    device.write(text(words));
}

// Usage and help name the program as users type it, whatever path started it.
QString helpText(const QCommandLineParser& parser)
{
    QString text = parser.helpText();
    const qsizetype name = text.indexOf(QLatin1Char(' ')) + 1; // after "Usage:"
    return text.replace(name, text.indexOf(QLatin1Char(' '), name) - name,
                        QStringLiteral("glimmeron"));
}

// Standard output may be a full disk or a closed pipe: a failed write is the command's
// failure, not a success with nothing written.
int writeOut(Console& console, const QByteArray& bytes)
{
    if (console.out.write(bytes) && console.out.close())
        return 0;
    write(console.err, QCoreApplication::translate(
                           "GLIMMERON", "glimmeron: writing to standard output failed: %1\n")
                           .arg(console.out.errorString()));
    return 1;
}

void showProgress(const CommandLine& command, Console& console, int sent)
{
    constexpr int kWidth = 40;
    if (command.quiet)
        return;
    if (console.errIsTerminal) {
        const int filled = sent * kWidth / kDownloadRecords;
        // Written as it is: the carriage return brings the line back to be drawn over.
        console.err.write(
            QCoreApplication::translate("GLIMMERON", "\r[%1%2] %3/%4%5")
                .arg(QString(filled, QLatin1Char('#')), QString(kWidth - filled, QLatin1Char('.')))
                .arg(sent)
                .arg(kDownloadRecords)
                .arg(sent == kDownloadRecords ? "\n" : "")
                .toLocal8Bit());
    } else if (sent % 10 == 0 || sent == kDownloadRecords) {
        write(console.err, QCoreApplication::translate("GLIMMERON", "Sent %1 of %2 records\n")
                               .arg(sent)
                               .arg(kDownloadRecords));
    }
}

// The user's go-ahead on a terminal: Enter downloads; the end of input or a signal
// cancels. Returns the exit status of a cancel, or 0 to go on.
int askToGo(const CommandLine& command, Console& console)
{
    // --yes, or a script: no one is there to read what to press.
    if (command.yes || !console.waitForEnter)
        return 0;
    write(console.err, QCoreApplication::translate(
                           "GLIMMERON", "1) Connect the GLIMMERON to the programming cable, or "
                                        "cycle its power: all LEDs flash.\n2) Wait until all "
                                        "LEDs come on and stay on.\n3) Then press Enter to "
                                        "start, Ctrl+C to cancel.\n"));
    if (console.waitForEnter() && SignalWatch::caught() == 0)
        return 0;
    write(console.err,
          QCoreApplication::translate("GLIMMERON", "\nCancelled: nothing was sent.\n"));
    return SignalWatch::caught() ? 128 + SignalWatch::caught() : 1;
}

int download(const CommandLine& command, Platform& platform, const QString& ledCfgPath,
             Console& console)
{
    const SequenceLoad load = loadSequenceFile(command.file);
    if (!load.data) {
        write(console.err, load.problem + QLatin1Char('\n'));
        return 2;
    }
    int number = command.port;
    if (number == 0) {
        const LedCfgLoad cfg = loadLedCfg(ledCfgPath);
        if (!cfg.problem.isEmpty())
            write(console.err, cfg.problem + QLatin1Char('\n'));
        number = cfg.port;
    }
    SignalWatch watch({SIGINT, SIGTERM, kHangUp});
    DownloadPort port = openDownloadPort(platform, number);
    if (!port.link) {
        write(console.err, port.problem + QLatin1Char('\n'));
        return 1;
    }
    if (const int cancelled = askToGo(command, console)) {
        port.link->close();
        return cancelled;
    }

    const DownloadValues values = downloadValuesOf(*load.data);
    DownloadSession session([values] { return values; });
    QEventLoop loop;
    QString error;
    QObject::connect(&session, &DownloadSession::startRecordSent,
                     [&] { showProgress(command, console, 1); });
    QObject::connect(&session, &DownloadSession::recordSent,
                     [&](int index) { showProgress(command, console, index + 2); });
    QObject::connect(&session, &DownloadSession::finished, [&](const QString& failure) {
        error = failure;
        loop.quit();
    });
    // Between two records: the port is closed, and its line settings with it.
    QObject::connect(&watch, &SignalWatch::signalled, &session,
                     [&] { session.interrupt(QStringLiteral("interrupted")); });
    session.start(std::move(port.link));
    if (session.running())
        loop.exec();
    if (const int signal = SignalWatch::caught()) {
        write(console.err, QCoreApplication::translate(
                               "GLIMMERON", "\nInterrupted after %1 of %2 records: the device "
                                            "holds an incomplete sequence. Download again.\n")
                               .arg(session.recordsSent())
                               .arg(kDownloadRecords));
        return 128 + signal;
    }
    if (!error.isEmpty()) {
        write(console.err, downloadBrokenOff(number, port.entry.device, error) + QLatin1Char('\n'));
        return 1;
    }
    return writeOut(console,
                    text(downloadDone(number, port.entry.device, QTime::currentTime()) + '\n'));
}

// A PNG of the grid or a GIF of one cycle, into OUT.
int exportSequence(const CommandLine& command, Console& console)
{
    // Written over, the sequence would be gone: its own name is never OUT.
    const QString input = QFileInfo(command.file).canonicalFilePath();
    if (!input.isEmpty() && input == QFileInfo(command.output).canonicalFilePath()) {
        write(console.err, QCoreApplication::translate(
                               "GLIMMERON", "glimmeron: %1 is the sequence file itself; name "
                                            "another file to write the export to.\n")
                               .arg(command.output));
        return 2;
    }
    const SequenceLoad load = loadSequenceFile(command.file);
    if (!load.data) {
        write(console.err, load.problem + QLatin1Char('\n'));
        return 2;
    }
    QString error;
    const QString name = QFileInfo(command.file).completeBaseName();
    const QByteArray bytes = command.action == CommandLine::Action::ExportPng
                                 ? sequencePicturePng(*load.data, name)
                                 : sequenceAnimationGif(*load.data, name, &error);
    if (bytes.isEmpty() || !saveFileAtomically(command.output, bytes, &error)) {
        write(console.err,
              QCoreApplication::translate("GLIMMERON", "glimmeron: %1 could not be written: %2\n")
                  .arg(shownPath(command.output), error));
        return 1;
    }
    return 0;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    CommandLine command;
    auto usage = [&](const QString& error) {
        command.action = CommandLine::Action::UsageError;
        command.error = error + QLatin1Char('\n') +
                        helpText(parser).section(QLatin1Char('\n'), 0, 0) +
                        QCoreApplication::translate("GLIMMERON", "\nTry --help for the options.");
        return command;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    // Each option once: of two values, one would be dropped without a word.
    const QStringList found = parser.optionNames();
    for (const QCommandLineOption& option : options.all()) {
        const QStringList names = option.names();
        if (std::count_if(found.begin(), found.end(),
                          [&](const QString& name) { return names.contains(name); }) > 1)
            return usage(QCoreApplication::translate("GLIMMERON", "--%1 is given more than once.")
                             .arg(names.constLast()));
    }
    // One action at a time.
    const std::pair<const QCommandLineOption*, CommandLine::Action> actions[] = {
        {&options.help, CommandLine::Action::Help},
        {&options.version, CommandLine::Action::Version},
        {&options.listPorts, CommandLine::Action::ListPorts},
        {&options.stream, CommandLine::Action::Stream},
        {&options.download, CommandLine::Action::Download},
        {&options.exportPng, CommandLine::Action::ExportPng},
        {&options.exportGif, CommandLine::Action::ExportGif}};
    QString chosen;
    for (const auto& [option, action] : actions) {
        if (!parser.isSet(*option))
            continue;
        const QString name = QStringLiteral("--") + option->names().constLast();
        if (!chosen.isEmpty())
            return usage(
                QCoreApplication::translate("GLIMMERON", "%1 and %2 cannot be used together.")
                    .arg(chosen, name));
        chosen = name;
        command.action = action;
    }
    if (command.action == CommandLine::Action::Stream)
        command.file = parser.value(options.stream);
    if (command.action == CommandLine::Action::Download)
        command.file = parser.value(options.download);
    const bool exporting = needsGui(command);
    if (exporting)
        command.file =
            parser.value(command.action == CommandLine::Action::ExportPng ? options.exportPng
                                                                          : options.exportGif);
    for (const QCommandLineOption* onlyForDownload :
         {&options.port, &options.yes, &options.quiet}) {
        if (parser.isSet(*onlyForDownload) && command.action != CommandLine::Action::Download)
            return usage(QCoreApplication::translate("GLIMMERON", "--%1 goes with --download only.")
                             .arg(onlyForDownload->names().constFirst()));
    }
    const QStringList files = parser.positionalArguments();
    if (exporting && files.size() != 1)
        return usage(QCoreApplication::translate("GLIMMERON", "%1 needs the file to write, OUT.")
                         .arg(chosen));
    if (exporting)
        command.output = files.first();
    else if (command.action == CommandLine::Action::Window && files.size() == 1)
        command.file = files.first();
    else if (!files.isEmpty()) // the window takes one file: the extra one is the second
        return usage(QCoreApplication::translate("GLIMMERON", "Unexpected argument: %1")
                         .arg(shownPath(
                             files.value(command.action == CommandLine::Action::Window ? 1 : 0))));
    command.yes = parser.isSet(options.yes);
    command.quiet = parser.isSet(options.quiet);
    if (parser.isSet(options.port)) {
        bool ok = false;
        command.port = parser.value(options.port).toInt(&ok);
        if (!ok || command.port < kFirstPort || command.port > kLastPort)
            return usage(QCoreApplication::translate("GLIMMERON",
                                                     "The port number must be 1 to 20, not \"%1\".")
                             .arg(parser.value(options.port)));
    }
    return command;
}

bool needsGui(const CommandLine& command)
{
    return command.action == CommandLine::Action::ExportPng ||
           command.action == CommandLine::Action::ExportGif;
}

QString commandLineHelp()
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    return helpText(parser);
}

int runCommand(const CommandLine& command, Platform& platform, const QString& ledCfgPath,
               Console& console)
{
    switch (command.action) {
    case CommandLine::Action::Window:
    case CommandLine::Action::Help:
        return writeOut(console, text(commandLineHelp()));
    case CommandLine::Action::Version:
        return writeOut(console, text(QCoreApplication::translate("GLIMMERON", "glimmeron %1\n")
                                          .arg(QStringLiteral(GLIMMERON_VERSION))));
    case CommandLine::Action::UsageError:
        write(console.err, command.error + QLatin1Char('\n'));
        return 2;
    case CommandLine::Action::ListPorts: {
        QString lines;
        for (const auto& [number, port] : PortMap(platform.serialPorts()).numbered())
            lines += QCoreApplication::translate("GLIMMERON", "%1 %2 %3")
                         .arg(number)
                         .arg(port.device, port.description)
                         .trimmed() +
                     QLatin1Char('\n');
        return writeOut(console, text(lines));
    }
    case CommandLine::Action::Stream: {
        const SequenceLoad load = loadSequenceFile(command.file);
        if (!load.data) {
            write(console.err, load.problem + QLatin1Char('\n'));
            return 2;
        }
        return writeOut(console,
                        QByteArray::fromStdString(downloadStream(downloadValuesOf(*load.data))));
    }
    case CommandLine::Action::Download:
        return download(command, platform, ledCfgPath, console);
    case CommandLine::Action::ExportPng:
    case CommandLine::Action::ExportGif:
        return exportSequence(command, console);
    }
    return 2;
}
