#include "platform/db/DatabaseState.h"

#include "foundation/OrvenilError.h"
#include "platform/db/FieldType.h"
#include "platform/db/LostCommitReport.h"
#include "platform/db/RecordsetState.h"

namespace orv {

void ThrowObjectInvalid() {
  ThrowDbError(kDbErrObjectInvalid, QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt."));
}

DatabaseState::~DatabaseState() {
  // A handle dropped without closing: nobody is left to catch the failure.
  try {
    close();
  } catch (const std::exception& e) {
    NoteLostCommit(path_, e);
  }
}

void DatabaseState::addRecordset(const std::shared_ptr<RecordsetState>& rs) {
  // Forget recordsets that are gone, so a long run opening many stays small.
  std::erase_if(recordsets_, [](const std::weak_ptr<RecordsetState>& w) {
    auto p = w.lock();
    return !p || !p->open;
  });
  recordsets_.push_back(rs);
}

void DatabaseState::close() {
  if (!conn_) return;
  for (auto it = recordsets_.rbegin(); it != recordsets_.rend(); ++it)
    if (auto rs = it->lock()) rs->close();
  recordsets_.clear();
  // The handle is closed even when the commit fails; the failure goes on,
  // and the writes that could not be stored are dropped, so that nothing
  // commits them later unseen.
  auto conn = std::move(conn_);
  conn_.reset();
  try {
    conn->commit();
  } catch (...) {
    conn->rollback();
    throw;
  }
}

}  // namespace orv
