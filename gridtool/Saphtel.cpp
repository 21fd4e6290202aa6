#include "gridtool/Saphtel.h"

#include "gridtool/ExchangeLines.h"
#include "gridtool/GeoidGridFile.h"
#include "gridtool/Undulation.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <ostream>
#include <stdexcept>

namespace orv {

namespace {

std::string InFolder(const std::string& folder, const char* name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

int RunSaphtel(const std::string& folder, std::ostream& errors) {
  const std::string outputPath = InFolder(folder, kSaphtelOutputFile);
  // A stale OUTPUT.USR from an earlier run must not pass for this run's result.
  auto fail = [&](const std::string& message) {
    errors << "saphtel: " << message << '\n';
    std::remove(outputPath.c_str());
    return 1;
  };

  // The inputs are opened first, so that nothing is written when one is missing.
  std::optional<GeoidGridFile> grid;
  try {
    grid.emplace(InFolder(folder, kSaphtelGridFile));
  } catch (const std::runtime_error& e) {
    return fail(e.what());
  }
  const std::string inputPath = InFolder(folder, kSaphtelInputFile);
  std::ifstream input(inputPath, std::ios::binary);
  if (!input) return fail("Eingabedatei " + inputPath + " kann nicht geoeffnet werden");

  std::ofstream output(outputPath, std::ios::binary | std::ios::trunc);
  if (!output) return fail("Ausgabedatei " + outputPath + " kann nicht angelegt werden");

  try {
    std::string line;
    while (ReadExchangeLine(input, line)) {
      double lat = 0.0;
      double lon = 0.0;
      double undulation = kNoUndulation;
      if (ParsePointLine(line, lat, lon)) undulation = InterpolateUndulation(*grid, lat, lon);
      output << FormatResultLine(undulation, lat * kRadToDeg, lon * kRadToDeg) << "\r\n";
    }
  } catch (const std::runtime_error& e) {
    output.close();
    return fail(e.what());
  }
  if (input.bad()) {
    output.close();
    return fail("Eingabedatei " + inputPath + " kann nicht gelesen werden");
  }
  output.close();
  if (!output) return fail("Ausgabedatei " + outputPath + " kann nicht geschrieben werden");
  return 0;
}

}  // namespace orv
