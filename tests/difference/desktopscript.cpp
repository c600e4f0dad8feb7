// Plays edit scripts on the real window, through its mouse, keys, lists and menus, and
// prints for each what Save writes and the name of the step Undo would take. The browser
// tests play the same scripts on the page and compare.
//   desktopscript SCRIPTS   (one script a line, actions split by ';')
#include "files/filecommands.h"
#include "sequence/cellbox.h"
#include "sequence/gridview.h"
#include "sequence/lednamelabel.h"
#include "sequence/rowcontrols.h"
#include "settings/settingsdialog.h"
#include "testwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cstdio>

namespace {

const QHash<QString, Qt::Key> kKeys{{"Left", Qt::Key_Left},
                                    {"Right", Qt::Key_Right},
                                    {"Up", Qt::Key_Up},
                                    {"Down", Qt::Key_Down},
                                    {"Home", Qt::Key_Home},
                                    {"End", Qt::Key_End},
                                    {"Delete", Qt::Key_Delete},
                                    {"Insert", Qt::Key_Insert},
                                    {"Escape", Qt::Key_Escape},
                                    {"Space", Qt::Key_Space},
                                    {"L", Qt::Key_L},
                                    {"A", Qt::Key_A},
                                    {"Z", Qt::Key_Z},
                                    {"Y", Qt::Key_Y},
                                    {"C", Qt::Key_C},
                                    {"V", Qt::Key_V},
                                    {"X", Qt::Key_X}};

void activate(TestWindow& t)
{
    t.window->activateWindow();
    if (!QTest::qWaitForWindowActive(t.window.get()))
        qFatal("the window did not become active");
}

void trigger(TestWindow& t, const QString& name)
{
    for (QAction* action : t.window->findChildren<QAction*>(name))
        return action->trigger();
    qFatal("no menu entry %s", qPrintable(name));
}

void openPattern(TestWindow& t, const QString& name)
{
    Q_EMIT t.ui().MENUpatterns->aboutToShow();
    for (QAction* action : t.ui().MENUpatterns->actions())
        if (action->text() == name)
            return action->trigger();
    qFatal("no pattern %s", qPrintable(name));
}

void play(TestWindow& t, const QString& action)
{
    const QStringList w = action.split(' ');
    const auto n = [&w](int i) { return w.value(i).toInt(); };
    GridView* grid = t.window->grid();
    RowControls* rows = t.window->rows();
    if (w[0] == "click") {
        QTest::mouseClick(grid->cell(n(1) - 1, n(2) - 1), Qt::LeftButton);
    } else if (w[0] == "key") { // key [ctrl] [shift] NAME
        Qt::KeyboardModifiers mods;
        if (w.contains("ctrl"))
            mods |= Qt::ControlModifier;
        if (w.contains("shift"))
            mods |= Qt::ShiftModifier;
        // Keys go to the grid, as the page's do: a list's opener keeps the focus after it.
        const EditSession& session = t.document().session();
        grid->cell(session.cursorLed(), session.cursorSlot())->setFocus();
        QTest::keyClick(QApplication::focusWidget(), kKeys.value(w.last()), mods);
    } else if (w[0] == "dbl") {
        QTest::mouseDClick(grid->ruler(n(1) - 1), Qt::LeftButton);
    } else if (w[0] == "menu") {
        trigger(t, w[1]);
    } else if (w[0] == "row") {
        answerList(rows->rowOptionsList(), n(2));
        if (w.size() > 3)
            answerList(rows->copyList(), n(3));
        QTest::mouseClick(rows->optionsButton(n(1) - 1), Qt::LeftButton);
    } else if (w[0] == "colour") {
        answerList(rows->colourList(), n(2));
        QTest::mouseClick(rows->nameLabel(n(1) - 1), Qt::LeftButton);
    } else if (w[0] == "servo") {
        QComboBox* combo = rows->servoSelector(n(1) - 1);
        combo->setCurrentIndex(n(2));
        Q_EMIT combo->activated(n(2));
    } else if (w[0] == "settings") { // the sequencer delay and the test speed, then OK
        trigger(t, "MENUsettings");
        SettingsDialog* dialog = t.window->settingsDialog();
        dialog->PICSpeedcombo->setCurrentIndex(n(1) - 1);
        dialog->PCSpeedcombo->setCurrentIndex(n(2) - 1);
        QTest::mouseClick(dialog->SettingsOKbutton, Qt::LeftButton);
        activate(t); // as a window manager gives the keyboard back
    } else if (w[0] == "pattern") {
        openPattern(t, action.section(' ', 1));
    } else if (w[0] == "open") {
        t.platform.fileChoices << action.section(' ', 1);
        trigger(t, "MENUopen");
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QFile scripts(app.arguments().value(1));
    if (!scripts.open(QIODevice::ReadOnly))
        qFatal("usage: desktopscript SCRIPTS");
    for (int index = 0; !scripts.atEnd(); ++index) {
        const QString script = QString::fromUtf8(scripts.readLine()).trimmed();
        TestWindow t;
        activate(t);
        t.window->grid()->cell(0, 0)->setFocus();
        for (const QString& action : script.split(';', Qt::SkipEmptyParts))
            play(t, action.trimmed());
        // To look at: the window as the script left it.
        if (const QString shot = qEnvironmentVariable("DESKTOPSCRIPT_SHOT"); !shot.isEmpty())
            t.window->grab().save(shot);
        const QString path = t.path("OUT.DAT");
        t.platform.fileChoices << path;
        trigger(t, "MENUsave");
        std::printf("%d %s %s\n", index, readFile(path).toHex().constData(),
                    qPrintable(t.ui().MENUundo->text()));
        std::fflush(stdout);
    }
    return 0;
}
