// Runs Save over an existing file in a process that may write at most 100 bytes to any
// file, so the write fails part-way. Exit code 0: the user was told and the title kept.
#include "testwindow.h"

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString target = QString::fromLocal8Bit(argv[1]);
    TestWindow t;
    t.window->setCell(3, 3, true);
    t.platform.fileChoices << target;
    t.platform.answers << Platform::Answer::Yes;
    const QString titleBefore = t.window->windowTitle();

    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    t.window->MENUsave_Click();

    if (t.platform.messageBoxes.size() != 2)
        return 3;
    const QString prompt = t.platform.messageBoxes[1].prompt;
    std::printf("%s\n", qPrintable(prompt));
    const bool told = prompt.contains(target) && prompt.contains("could not be saved");
    return told && t.window->windowTitle() == titleBefore ? 0 : 4;
}
