#include "app/patternmenu.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

PatternMenu::PatternMenu(QMenu* menu, PatternLibrary* library, QAction* addFolder, QWidget* window)
    : QObject(menu), m_menu(menu), m_library(library), m_addFolder(addFolder), m_window(window)
{
    m_menu->addAction(m_addFolder);
    // The entries are made as the menu opens: reading every pattern's note is time that
    // start-up need not spend.
    connect(m_menu, &QMenu::aboutToShow, this, &PatternMenu::build);
    connect(m_library, &PatternLibrary::changed, this, [this] { m_built = false; });
}

int PatternMenu::rowsThatFit(const QMenu* menu)
{
    QMenu probe;
    probe.setFont(menu->font());
    QAction* row = probe.addAction(QStringLiteral("Xg"));
    const int height = std::max(1, probe.actionGeometry(row).height());
    const int frame = probe.sizeHint().height() - height;
    const QScreen* screen = menu->screen() ? menu->screen() : QGuiApplication::primaryScreen();
    return std::max(4, (screen->availableGeometry().height() - frame) / height);
}

void PatternMenu::build()
{
    if (m_built)
        return;
    m_built = true;
    m_menu->clear();
    // Built-in patterns, then a submenu per folder; the separator, "More Patterns..." and
    // "Add Pattern Folder..." always have their rows.
    const QList<Pattern> builtIn = m_library->builtIn();
    const auto folders = m_library->userPatterns();
    const qsizetype room = rowsThatFit(m_menu) - 3;
    addPatterns(m_menu, builtIn, std::min(room, builtIn.size()));
    QList<Pattern> beyond = builtIn.mid(std::min(room, builtIn.size()));
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const auto& [folder, patterns] = folders[i];
        if (builtIn.size() + i >= room) {
            beyond += patterns;
            continue;
        }
        QMenu* sub = m_menu->addMenu(QDir::toNativeSeparators(folder));
        sub->menuAction()->setStatusTip(QDir::toNativeSeparators(folder));
        if (patterns.isEmpty())
            sub->addAction(tr("No patterns in this folder"))->setEnabled(false);
        // The separator and "More Patterns..." take two rows.
        const qsizetype fit = rowsThatFit(sub);
        addPatterns(sub, patterns, patterns.size() <= fit ? patterns.size() : fit - 2);
        if (patterns.size() > fit)
            addMore(sub, patterns);
    }
    if (!beyond.isEmpty())
        addMore(m_menu, beyond);
    m_menu->addSeparator();
    m_menu->addAction(m_addFolder);
}

void PatternMenu::addPatterns(QMenu* menu, const QList<Pattern>& patterns, qsizetype shown)
{
    for (const Pattern& pattern : patterns.first(std::max<qsizetype>(0, shown))) {
        QAction* entry = menu->addAction(pattern.name);
        entry->setStatusTip(pattern.note);
        connect(entry, &QAction::triggered, this, [this, pattern] { Q_EMIT chosen(pattern); });
    }
}

void PatternMenu::addMore(QMenu* menu, const QList<Pattern>& patterns)
{
    menu->addSeparator();
    QAction* more = menu->addAction(tr("&More Patterns..."));
    more->setObjectName(QStringLiteral("MENUmorepatterns"));
    connect(more, &QAction::triggered, this, [this, patterns] { showMore(patterns); });
}

// Typing narrows the list to the names that hold the text; Enter takes the first shown.
void PatternMenu::showMore(const QList<Pattern>& patterns)
{
    auto* dialog = new QDialog(m_window);
    dialog->setObjectName(QStringLiteral("MorePatterns"));
    dialog->setWindowTitle(tr("More Patterns"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* filter = new QLineEdit(dialog);
    filter->setObjectName(QStringLiteral("PatternFilter"));
    filter->setPlaceholderText(tr("Type part of a name"));
    filter->setAccessibleName(tr("Filter the patterns"));
    filter->setClearButtonEnabled(true);
    auto* list = new QListWidget(dialog);
    list->setObjectName(QStringLiteral("PatternList"));
    list->setAccessibleName(tr("Patterns"));
    for (const Pattern& pattern : patterns) {
        auto* item = new QListWidgetItem(pattern.name, list);
        item->setToolTip(pattern.note.isEmpty() ? QDir::toNativeSeparators(pattern.path)
                                                : pattern.note);
    }
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, dialog);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(filter);
    layout->addWidget(list);
    layout->addWidget(buttons);
    connect(filter, &QLineEdit::textChanged, dialog, [list, buttons](const QString& text) {
        QListWidgetItem* first = nullptr;
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem* item = list->item(i);
            item->setHidden(!item->text().contains(text, Qt::CaseInsensitive));
            if (!first && !item->isHidden())
                first = item;
        }
        list->setCurrentItem(first);
        buttons->button(QDialogButtonBox::Open)->setEnabled(first);
    });
    connect(list, &QListWidget::itemActivated, dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(dialog, &QDialog::accepted, this, [this, list, patterns] {
        if (const int row = list->currentRow(); row >= 0 && !list->item(row)->isHidden())
            Q_EMIT chosen(patterns[row]);
    });
    const QSize screen = m_window->screen()->availableGeometry().size();
    dialog->resize(std::min(420, screen.width() * 9 / 10), std::min(520, screen.height() * 9 / 10));
    dialog->open();
    filter->setFocus();
}
