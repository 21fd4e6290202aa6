#include "platform/db/RunTransaction.h"

#include "platform/db/DatabaseState.h"
#include "platform/db/LostCommitReport.h"

namespace orv {

RunTransaction::RunTransaction(const Database& db) {
  if (!db.isOpen()) ThrowObjectInvalid();
  conn_ = db.state()->connPtr();
  path_ = db.name();
  conn_->beginWrite();
  conn_->holdCommits(true);
}

RunTransaction::~RunTransaction() {
  if (done_) return;
  try {
    commit();
  } catch (const std::exception& e) {
    NoteLostCommit(path_, e);
  }
}

void RunTransaction::commit() {
  if (done_) return;
  done_ = true;
  conn_->holdCommits(false);
  conn_->commit();
}

void RunTransaction::commitSoFar() {
  if (done_) return;
  conn_->commit();
  conn_->beginWrite();
}

}  // namespace orv
