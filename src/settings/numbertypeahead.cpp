#include "settings/numbertypeahead.h"

#include <QComboBox>
#include <QKeyEvent>

namespace {
constexpr qint64 kPauseEndsNumberMs = 1000;
}

bool NumberTypeAhead::eventFilter(QObject* watched, QEvent* event)
{
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (!combo || event->type() != QEvent::KeyPress)
        return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.size() != 1 || !text[0].isDigit())
        return false;
    if (!m_sinceLastKey.isValid() || m_sinceLastKey.elapsed() > kPauseEndsNumberMs)
        m_typed.clear();
    m_sinceLastKey.start();
    m_typed += text;
    int index = combo->findText(QLatin1Char(' ') + m_typed);
    if (index < 0) { // "300" in a list of 255: start again from this digit
        m_typed = text;
        index = combo->findText(QLatin1Char(' ') + m_typed);
    }
    if (index >= 0)
        combo->setCurrentIndex(index);
    return true;
}
