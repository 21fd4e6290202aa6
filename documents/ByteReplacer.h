#pragma once
// Replaces every occurrence of a byte sequence in place, building the result
// in a work buffer that the owner keeps between calls (so escaping many short
// texts allocates only when a result outgrows everything seen before).
#include <string>
#include <string_view>

namespace orv {

class ByteReplacer {
 public:
  // All occurrences of `find`, searched from the start with exact byte
  // comparison, become `repl`; an empty `find` changes nothing.
  void ReplaceInPlace(std::string& text, std::string_view find, std::string_view repl);

 private:
  std::string work_;
};

}  // namespace orv
