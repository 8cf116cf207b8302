#include "gui/dialogs/DialUpServiceName.h"

namespace {

QString &storedName()
{
    static QString name;
    return name;
}

} // namespace

void setDialUpServiceName(const QString &name) { storedName() = name; }

QString dialUpServiceName() { return storedName(); }
