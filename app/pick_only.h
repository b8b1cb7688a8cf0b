#pragma once

class QComboBox;

// Makes an editable list select an entry only when the operator picks one: a
// click in the opened list, the arrow keys, or the wheel while it has the
// focus. Typed text, Enter and leaving the list select nothing, even when the
// text equals an entry, and the typed text stays with no entry selected.
void makePickOnly(QComboBox *combo);
