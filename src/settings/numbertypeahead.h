#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

// Typing a number into a focused list of " 1", " 2", ... selects that entry: the
// entries' leading blank defeats the list's own search. Digits typed within a second
// of each other make one number.
class NumberTypeAhead : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_typed;
    QElapsedTimer m_sinceLastKey;
};
