#include "foundation/SystemInfo.h"

#include <QStringList>
#include <QSysInfo>

namespace orv {

QString SystemVersionText(const QString& productName, const QString& cpuArchitecture) {
  static const QStringList k64 = {QStringLiteral("x86_64"), QStringLiteral("arm64"),
                                  QStringLiteral("ia64"),   QStringLiteral("mips64"),
                                  QStringLiteral("power64"), QStringLiteral("riscv64"),
                                  QStringLiteral("s390x"),  QStringLiteral("sparcv9"),
                                  QStringLiteral("loongarch64")};
  const bool is64 = k64.contains(cpuArchitecture) || cpuArchitecture.endsWith(QStringLiteral("64"));
  return productName + (is64 ? QStringLiteral(", 64-bit") : QStringLiteral(", 32-bit"));
}

QString GetWindowsVersionText() {
  // The kernel's architecture, not the build's: a 32-bit build on a 64-bit
  // system still names the system 64-bit.
  return SystemVersionText(QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture());
}

}  // namespace orv
