#pragma once

#include "files/patternlibrary.h"

#include <QObject>

class QAction;
class QMenu;
class QWidget;

// The Patterns menu: the built-in patterns, a submenu per added folder, then "Add Pattern
// Folder...". No menu is taller than its screen: what does not fit waits behind "More
// Patterns...", a list that narrows as one types.
class PatternMenu : public QObject
{
    Q_OBJECT
public:
    PatternMenu(QMenu* menu, PatternLibrary* library, QAction* addFolder, QWidget* window);

    // How many one-line entries `menu` shows on its screen in one column.
    static int rowsThatFit(const QMenu* menu);

Q_SIGNALS:
    void chosen(const Pattern& pattern);

private:
    void build();
    void addPatterns(QMenu* menu, const QList<Pattern>& patterns, qsizetype shown);
    void addMore(QMenu* menu, const QList<Pattern>& patterns);
    void showMore(const QList<Pattern>& patterns);

    QMenu* m_menu;
    PatternLibrary* m_library;
    QAction* m_addFolder;
    QWidget* m_window;
    bool m_built = false;
};
