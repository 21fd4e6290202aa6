#pragma once
// The index of the first list item that occurs inside a text, for the combo
// and list boxes whose item is picked from a line of text.
#include <QString>

class QComboBox;
class QListWidget;

namespace orv {

// Index (0-based) of the first item that occurs inside text; 0 when none does
// or the list is null (see FindListIndex on a QStringList).
int FindListIndex(const QComboBox* list, const QString& text);
int FindListIndex(const QListWidget* list, const QString& text);

}  // namespace orv
