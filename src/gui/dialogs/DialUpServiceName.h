#pragma once

#include <QString>

// The name of the dial-up service the program talks to, chosen once at
// start-up and shown in the settings dialog.
void setDialUpServiceName(const QString &name);
QString dialUpServiceName();
