#include "app/commandline.h"

#include "device/downloadport.h"
#include "device/downloadsession.h"
#include "device/downloadtexts.h"
#include "device/portmap.h"
#include "files/sequenceload.h"
#include "platform/platform.h"
#include "platform/seriallink.h"
#include "settings/ledcfg.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>
#include <QTime>

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
    QCommandLineOption port{QStringLiteral("port"),
                            QCoreApplication::translate(
                                "GLIMMERON", "Serial port number 1 to 20 for --download (default: "
                                             "the one in LED.cfg)."),
                            QStringLiteral("N")};
    QCommandLineOption yes{
        QStringLiteral("yes"),
        QCoreApplication::translate("GLIMMERON", "Download without waiting for Enter.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QCoreApplication::translate("GLIMMERON", "Show these options.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QCoreApplication::translate("GLIMMERON", "Show the version.")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "GLIMMERON", "Editor and programmer for the GLIMMERON LED sequencer. Without "
                         "options it opens the editor, with FILE in it when given."));
        parser.addOptions({listPorts, stream, download, port, yes, help, version});
        parser.addPositionalArgument(
            QStringLiteral("FILE"),
            QCoreApplication::translate("GLIMMERON", "A sequence data file to open."),
            QStringLiteral("[FILE]"));
    }
};

void write(QIODevice& device, const QString& text)
{
    device.write(QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')).toLocal8Bit());
}

void showProgress(Console& console, int sent)
{
    constexpr int kWidth = 40;
    if (console.errIsTerminal) {
        const int filled = sent * kWidth / kDownloadRecords;
        write(console.err, QCoreApplication::translate("GLIMMERON", "\r[%1%2] %3/%4")
                               .arg(QString(filled, QLatin1Char('#')),
                                    QString(kWidth - filled, QLatin1Char('.')))
                               .arg(sent)
                               .arg(kDownloadRecords));
        if (sent == kDownloadRecords)
            write(console.err, QStringLiteral("\n"));
    } else if (sent % 10 == 0 || sent == kDownloadRecords) {
        write(console.err, QCoreApplication::translate("GLIMMERON", "Sent %1 of %2 records\n")
                               .arg(sent)
                               .arg(kDownloadRecords));
    }
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
    DownloadPort port = openDownloadPort(platform, number);
    if (!port.link) {
        write(console.err, port.problem + QLatin1Char('\n'));
        return 1;
    }
    write(console.err, downloadPrompt().mid(1) + QLatin1Char('\n'));
    if (!command.yes && console.waitForEnter)
        console.waitForEnter();

    const DownloadValues values = downloadValuesOf(*load.data);
    DownloadSession session([values] { return values; });
    QEventLoop loop;
    bool done = false;
    QString error;
    QObject::connect(&session, &DownloadSession::startRecordSent,
                     [&] { showProgress(console, 1); });
    QObject::connect(&session, &DownloadSession::recordSent,
                     [&](int index) { showProgress(console, index + 2); });
    QObject::connect(&session, &DownloadSession::finished, [&](const QString& failure) {
        error = failure;
        done = true;
        loop.quit();
    });
    session.start(std::move(port.link));
    if (!done)
        loop.exec();
    if (!error.isEmpty()) {
        write(console.err, downloadBrokenOff(number, port.entry.device, error) + QLatin1Char('\n'));
        return 1;
    }
    write(console.out,
          downloadDone(number, port.entry.device, QTime::currentTime()) + QLatin1Char('\n'));
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
        command.error =
            error + QCoreApplication::translate("GLIMMERON", "\nTry --help for the options.");
        return command;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    const QStringList files = parser.positionalArguments();
    command.yes = parser.isSet(options.yes);
    if (parser.isSet(options.help))
        command.action = CommandLine::Action::Help;
    else if (parser.isSet(options.version))
        command.action = CommandLine::Action::Version;
    else if (parser.isSet(options.listPorts))
        command.action = CommandLine::Action::ListPorts;
    else if (parser.isSet(options.stream)) {
        command.action = CommandLine::Action::Stream;
        command.file = parser.value(options.stream);
    } else if (parser.isSet(options.download)) {
        command.action = CommandLine::Action::Download;
        command.file = parser.value(options.download);
    }
    if (command.action == CommandLine::Action::Window && files.size() == 1)
        command.file = files.first();
    else if (!files.isEmpty())
        return usage(
            QCoreApplication::translate("GLIMMERON", "Unexpected argument: %1").arg(files.first()));
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

QString commandLineHelp()
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    return parser.helpText();
}

int runCommand(const CommandLine& command, Platform& platform, const QString& ledCfgPath,
               Console& console)
{
    switch (command.action) {
    case CommandLine::Action::Window:
    case CommandLine::Action::Help:
        write(console.out, commandLineHelp());
        return 0;
    case CommandLine::Action::Version:
        write(console.out, QCoreApplication::translate("GLIMMERON", "glimmeron %1\n")
                               .arg(QStringLiteral(GLIMMERON_VERSION)));
        return 0;
    case CommandLine::Action::UsageError:
        write(console.err, command.error + QLatin1Char('\n'));
        return 2;
    case CommandLine::Action::ListPorts:
        for (const auto& [number, port] : PortMap(platform.serialPorts()).numbered())
            write(console.out, QCoreApplication::translate("GLIMMERON", "%1 %2 %3")
                                       .arg(number)
                                       .arg(port.device, port.description)
                                       .trimmed() +
                                   QLatin1Char('\n'));
        return 0;
    case CommandLine::Action::Stream: {
        const SequenceLoad load = loadSequenceFile(command.file);
        if (!load.data) {
            write(console.err, load.problem + QLatin1Char('\n'));
            return 2;
        }
        console.out.write(downloadStream(downloadValuesOf(*load.data)));
        return 0;
    }
    case CommandLine::Action::Download:
        return download(command, platform, ledCfgPath, console);
    }
    return 2;
}
