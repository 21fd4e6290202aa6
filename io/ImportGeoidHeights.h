#pragma once
// The height rules of the import's geoid step, for one row.
#include <QString>
#include <optional>

namespace orv {

struct GeoidHeights {
  QString undulation;  // N in "0.0000", or "Fehler"
  QString sHg;         // ellipsoidal height
  QString sZe;         // height
};

// From the undulation N of a row (none: the geoid program gave it none) and
// the row's heights as the start branch left them. Only the first rule that fits the
// heights applies: equal heights give sHg = sZe + N; a height with an empty
// ellipsoidal height gives sZe = sZe + N; an ellipsoidal height without a
// height gives sZe = sHg + N; neither empties sZe. For geographic input the
// heights are ellipsoidal already, so N counts as 0 in the rules.
GeoidHeights ApplyUndulation(std::optional<double> undulation, const QString& sHg, const QString& sZe,
                             bool geographic);

}  // namespace orv
