#pragma once
// A text naming the operating system and its word width.
#include <QString>

namespace orv {

// This system's name followed by ", 64-bit" or ", 32-bit", for instance
// "Debian GNU/Linux 12 (bookworm), 64-bit".
QString GetWindowsVersionText();

// The rule behind it, testable with any name and architecture.
QString SystemVersionText(const QString& productName, const QString& cpuArchitecture);

}  // namespace orv
