#include "platform/ui/ListIndex.h"

#include <QComboBox>
#include <QListWidget>

#include "foundation/TextTokens.h"

namespace orv {

int FindListIndex(const QComboBox* list, const QString& text) {
  if (!list) return 0;
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return FindListIndex(items, text);
}

int FindListIndex(const QListWidget* list, const QString& text) {
  if (!list) return 0;
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return FindListIndex(items, text);
}

}  // namespace orv
