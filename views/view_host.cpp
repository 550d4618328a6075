#include "views/view_host.h"

#include "records/home.h"

qint32 ViewHost::currentHomeId() const
{
    return currentHome().id();
}

QDateTime ViewHost::now() const
{
    return QDateTime::currentDateTime();
}

QDate ViewHost::today() const
{
    return now().date();
}
