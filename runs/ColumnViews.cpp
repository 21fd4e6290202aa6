#include "runs/ColumnViews.h"

#include <QStringList>

namespace orv {

bool ColumnShownInView(int view, const QString& key) {
  static const QStringList start{"Punkt",           "C",   "sYe", "sXe", "sZe", "sZeZiel", "sHg",
                                 "Geoidundulation", "sBg", "sLg", "Zone"};
  static const QStringList target{"Punkt",           "C",       "sYeZiel", "sXeZiel", "sZeZiel", "sHgZiel",
                                  "Geoidundulation", "sBgZiel", "sLgZiel", "Zone"};
  static const QStringList both{"Punkt",           "C",       "sYe",     "sXe",     "sZe", "sHg",
                                "Geoidundulation", "sYeZiel", "sXeZiel", "sZeZiel", "Zone"};
  switch (view) {
    case 1: return true;
    case 2: return start.contains(key);
    case 3: return target.contains(key);
    case 4: return both.contains(key);
    default: return false;
  }
}

}  // namespace orv
