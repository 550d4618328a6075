#pragma once
// Editable combo boxes whose text belongs to the user: a list to pick from, and whatever is
// typed kept exactly as typed.

class QComboBox;

namespace TextCombo {

// Editable, without Qt's inline completion (which would turn a typed "Bedroom" into the listed
// "Bedroom #2", or a typed "romance" into "Romance") and without adding typed texts to the list.
void makeEditable(QComboBox &combo);

// Gives the edit inside an editable combo the combo's name (its own accessible name, else the
// text of the label whose buddy it is): a screen reader meets the edit, which has the focus,
// and finds no name of its own on it. Call once that label exists.
void nameEdit(QComboBox &combo);

} // namespace TextCombo
