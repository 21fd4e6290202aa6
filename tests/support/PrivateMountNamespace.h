#pragma once
// A test that mounts a small file system of its own runs in a private mount
// namespace: the test process starts itself again for the one test under
// `unshare -rm`, with a marker in its environment, and reports the outcome.
//
//   if (!test::InsidePrivateMountNamespace(kMarker))
//     return test::RunAgainInPrivateMountNamespace(kMarker);

#include <QString>

namespace orv::test {

// True in the process started for the test in its namespace.
bool InsidePrivateMountNamespace(const char* marker);
// Runs the current test again in a private mount namespace and takes over
// its outcome; skips where the machine refuses such a namespace.
void RunAgainInPrivateMountNamespace(const char* marker);

// A small tmpfs of `size` ("2m") mounted on a folder for the lifetime of
// the object, unmounted lazily (databases still open there go with it).
class SmallTmpfs {
 public:
  SmallTmpfs(const QString& folder, const QString& size);
  ~SmallTmpfs();
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;
  // False where the machine refuses the mount.
  bool mounted() const { return mounted_; }

 private:
  QString folder_;
  bool mounted_ = false;
};

}  // namespace orv::test
