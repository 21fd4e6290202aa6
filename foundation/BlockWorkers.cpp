#include "foundation/BlockWorkers.h"

#include <algorithm>

#include "foundation/VectorState.h"

namespace orv {

namespace {
// Items a worker takes at a time: enough to make the hand-over cheap, few
// enough that the workers finish a block together.
constexpr size_t kChunk = 64;
}  // namespace

void BlockWorkers::start(size_t count, std::function<void(size_t)> work) {
  join();
  work_ = std::move(work);
  count_ = count;
  next_ = 0;
  // The window thread keeps one core for itself; more than four workers
  // gain nothing while one thread stores the rows.
  const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
  const unsigned workers = std::min(4u, cores - 1);
  for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this] { run(); });
}

void BlockWorkers::join() {
  for (std::thread& t : threads_) t.join();
  threads_.clear();
}

void BlockWorkers::run() {
  for (;;) {
    const size_t first = next_.fetch_add(kChunk);
    if (first >= count_) return;
    const size_t last = std::min(count_, first + kChunk);
    // The worker inherits the vector state of the thread that started it,
    // and library calls within the work may leave it dirty again.
    ClearUpperVectorState();
    for (size_t i = first; i < last; ++i) work_(i);
  }
}

}  // namespace orv
