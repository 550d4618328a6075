#pragma once
// An invented household to try the program on (make-datafile --sample): two homes with
// pictures, a dozen locations, about 150 assets (a video library of 40 titles among them), two
// loans per home, tasks and shopping items picked, waiting and done, and a dozen maintenance
// plans, some overdue, most with a history.

#include <QDate>
#include <QString>

namespace SampleHousehold {

// Writes the data file at path (which must not exist) and draws its pictures into the folder
// "pictures" beside it, never replacing a file there. Dates are set around today, so some
// warranties have run out and some have not.
bool write(const QString &path, const QDate &today, QString *error);

} // namespace SampleHousehold
