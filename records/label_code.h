#pragma once
// The text a label's QR code holds, and what a scanner typing it back leads to:
// "DOMELIO:A:<home id>:<asset id>" for an asset, "DOMELIO:L:<home id>:<location id>" for a
// location. Short and plain, so that the code stays small and any scanner types it.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

class CADODataBase;

namespace LabelCode {

enum class Kind { Asset, Location };

struct Target
{
    Kind kind = Kind::Asset;
    qint32 homeId = 0;
    qint32 id = 0;
    bool operator==(const Target &) const = default;
};

QByteArray text(const Target &target);

// The target of a scanned or typed code; blanks around it and the letter case are forgiven
// (a scanner types what the keyboard layout and Caps Lock make of it). Nothing when the text is
// not such a code.
std::optional<Target> parse(const QString &typed);

// The home the asset or location belongs to now (the label may be older than a move); nothing
// when it, or its home, is no longer in db.
std::optional<qint32> currentHome(CADODataBase &db, const Target &target);

} // namespace LabelCode
