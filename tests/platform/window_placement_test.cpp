#include "platform/window_placement.h"

#include <QList>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

WindowPlacement sample()
{
    WindowPlacement p;
    p.flags = 2;
    p.showState = WindowPlacement::ShowMaximized;
    p.minX = -32000;
    p.minY = -32000;
    p.maxX = -1;
    p.maxY = 7;
    p.normal = { -1920, 22, 0x01020304, 768 };
    return p;
}

TEST(WindowPlacement, EncodesTheFortyByteLittleEndianRecord)
{
    const QByteArray bytes = sample().encode();
    ASSERT_EQ(bytes.size(), 40);
    const qint32 expected[] = { 2, 3, -32000, -32000, -1, 7, -1920, 22, 0x01020304, 768 };
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 4 * i), expected[i]) << i;
    EXPECT_EQ(bytes.mid(32, 4), QByteArray("\x04\x03\x02\x01"));
    EXPECT_EQ(WindowPlacement::decode(bytes), sample());
}

TEST(WindowPlacement, DecodesOnlyWholeRecords)
{
    const QByteArray record = sample().encode();
    QByteArray withLength(4, '\0');
    qToLittleEndian<quint32>(44, withLength.data());
    EXPECT_EQ(WindowPlacement::decode(withLength + record), sample());

    QByteArray wrongLength = withLength + record;
    wrongLength[0] = 40;
    const QList<QByteArray> refused = { QByteArray(), record.left(39), record + '\0',
                                        wrongLength,  record + record, QByteArray(44, '\0') };
    for (const QByteArray &bytes : refused)
        EXPECT_FALSE(WindowPlacement::decode(bytes).has_value()) << bytes.size();
}

} // namespace
