#include "documents/ByteReplacer.h"

#include <cstring>

namespace orv {

void ByteReplacer::ReplaceInPlace(std::string& text, std::string_view find, std::string_view repl) {
  if (find.empty()) return;
  size_t hit = text.find(find);
  if (hit == std::string::npos) return;
  work_.clear();
  size_t from = 0;
  while (hit != std::string::npos) {
    work_.append(text, from, hit - from);
    work_.append(repl);
    from = hit + find.size();
    hit = text.find(find, from);
  }
  work_.append(text, from, std::string::npos);
  text.assign(work_);
}

}  // namespace orv
