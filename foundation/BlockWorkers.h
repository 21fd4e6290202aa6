#pragma once
// Computes the items of a block on a few worker threads, in chunks taken in
// turn, while the window thread goes on with other work (reading the next
// block, storing the one before). Each item is computed exactly once; the
// work must not touch what the window thread uses meanwhile.
#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace orv {

class BlockWorkers {
 public:
  BlockWorkers() = default;
  ~BlockWorkers() { join(); }
  BlockWorkers(const BlockWorkers&) = delete;
  BlockWorkers& operator=(const BlockWorkers&) = delete;

  // Starts computing work(0) … work(count − 1); waits for the block before.
  void start(size_t count, std::function<void(size_t)> work);
  // Waits until every item of the block is computed.
  void join();

 private:
  void run();

  std::function<void(size_t)> work_;
  size_t count_ = 0;
  std::atomic<size_t> next_{0};
  std::vector<std::thread> threads_;
};

}  // namespace orv
