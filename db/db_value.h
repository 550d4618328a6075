#pragma once
// One cell of a recordset: the value together with the kind of value the column holds. The
// kind comes from the column's declared type in the data file (LONG, SHORT, DOUBLE, DATETIME,
// TEXT, BIT, BYTE), or from the value itself for computed columns.

#include <QString>
#include <QtGlobal>

struct DbValue
{
    enum class Kind {
        Empty,
        Null,
        Short,
        Long,
        Single,
        Double,
        Date,
        Text,
        Boolean,
        Byte,
        Decimal
    };

    Kind kind = Kind::Empty;
    qint64 integer = 0; // Short, Long, Boolean (0/1), Byte
    double real = 0.0; // Single, Double, Date (day count), Decimal
    QString text; // Text

    static DbValue null() { return DbValue { Kind::Null, 0, 0.0, {} }; }
    static DbValue ofShort(qint16 v) { return DbValue { Kind::Short, v, 0.0, {} }; }
    static DbValue ofLong(qint32 v) { return DbValue { Kind::Long, v, 0.0, {} }; }
    static DbValue ofDouble(double v) { return DbValue { Kind::Double, 0, v, {} }; }
    static DbValue ofDate(double days) { return DbValue { Kind::Date, 0, days, {} }; }
    static DbValue ofText(const QString &v) { return DbValue { Kind::Text, 0, 0.0, v }; }

    bool isNullOrEmpty() const { return kind == Kind::Null || kind == Kind::Empty; }
};
