#pragma once
// Replace with a start position, a maximum count and an optional case-blind
// comparison, building its results in a work buffer that is kept from call to
// call, so that replacing in millions of lines allocates only now and then.
#include <QString>

namespace orv {

class FastReplaceBuffer {
 public:
  // expr with at most `count` occurrences of find replaced by repl (a negative
  // count means all), the first searched from character `start` (1-based;
  // below 2 from the beginning), each further one behind the previous match.
  // Text before start is kept. compare 0 compares exactly, any other value
  // without regard to case. An empty find or no match gives expr unchanged.
  QString replace(const QString& expr, const QString& find, const QString& repl, int start, int count,
                  int compare);

 private:
  QString buffer_;
};

// FastReplace over one program-wide buffer (not re-entrant).
QString FastReplace(const QString& expr, const QString& find, const QString& repl, int start = 1,
                    int count = -1, int compare = 0);

}  // namespace orv
