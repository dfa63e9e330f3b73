#pragma once

// The editable choice field of every form and dialog: a combo box whose text is free and whose
// list is an offer.
//
// Left as Qt makes it, an editable combo box matches its text against the list, ignoring case,
// whenever the field is left or Enter is pressed, and takes the item it finds: Tab through a
// field holding "oxidation" and it reads "Oxidation", announced as a choice, so the form counts
// an edit nobody made and a save stores the changed case. Here the text changes only when the
// user changes it: the match is made only when the user typed, pasted or dropped into the field
// since its text was last set. A typed prefix still takes the item offered, in the list's case,
// when the field is left or Enter pressed, and a choice from the drop-down list is a choice as
// always.

class QComboBox;

// Makes box editable under that rule; text typed into it is never added to its list.
void MakeChoiceBox(QComboBox* box);
