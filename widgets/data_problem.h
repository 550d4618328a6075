#pragma once
// The one way the program tells the user that the data file could not be read: a warning that
// says what could not be read and the engine's reason in plain words, over the window that
// asked. The whole report (the statement, the codes) goes to standard error for whoever looks
// into it; the user gets no query text.

#include <QString>

class CADODataBase;
class QWidget;

namespace DataProblem {

// what: the thing that could not be read, as the start of a sentence ("The inventory").
// The reason is the connection's last error.
void readFailed(QWidget *owner, const QString &what, const CADODataBase &db);

// The message readFailed shows, for a line of a view that says the same in one sentence.
QString readFailedText(const QString &what, const CADODataBase &db);

} // namespace DataProblem
