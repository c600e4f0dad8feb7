#pragma once

#include <QtGlobal>

// Program-wide values shared by the main window and the settings dialog.
struct Settings
{
    qint16 commPortNumber = 1;
    qint16 sequencerDelay = 30;
    qint16 testSpeed = 20;
};
