#pragma once
// The pictures of the sample household, drawn here with shapes only (no text, no fonts), so
// the sample needs no picture files in the repository and no display to be made.

#include <QImage>
#include <QString>

namespace SamplePictures {

// The names make-datafile --sample draws: two homes and a few of their things.
enum Picture { MapleStreet, LakesideCabin, Piano, Painting, Bicycle, Television, Armchair, Lamp };

QImage draw(Picture picture);

} // namespace SamplePictures
