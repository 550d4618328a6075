#pragma once
// Video, DVD and CD titles: assets of the video category. The search behind Recommend Movie and
// the range a release year may take.

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <vector>

class CADODataBase;

namespace VideoTitles {

struct Title
{
    qint32 assetId = 0;
    int year = 0;
    QString title;
};

// Every title of every home whose genre is genre letter for letter (case counts), ordered by
// title; an empty genre lists every title. A failed query gives no titles.
std::vector<Title> search(CADODataBase &db, const QString &genre);

// Release years run from 1900 to next year: a title announced for next year may already be
// on the shelf, and a fixed upper year would lock out every film released after it.
constexpr int kFirstReleaseYear = 1900;
int lastReleaseYear(const QDate &today = QDate::currentDate());

} // namespace VideoTitles
