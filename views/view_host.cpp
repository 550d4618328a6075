#include "views/view_host.h"

#include "records/home.h"

qint32 ViewHost::currentHomeId() const
{
    return currentHome().id();
}

QDate ViewHost::today() const
{
    return QDate::currentDate();
}
