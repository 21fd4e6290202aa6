// Throughput of the geoid interpolation: 1,000,000 random points over a
// Germany-sized 15' grid, once through the interpolation alone and once as a
// whole program run (INPUT.USR -> OUTPUT.USR).
#include "gridtool/GeoidGridFile.h"
#include "gridtool/Saphtel.h"
#include "gridtool/Undulation.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kPoints = 1000000;

void WriteGrid(const std::string& path)
{
    // 47..55.5 N, 5.5..15.5 E, 15' spacing: 35 x 41 nodes.
    const std::int32_t header[18] = {47, 0, 0, 55, 30, 0, 5, 30, 0, 15, 30, 0, 0, 15, 0, 0, 15, 0};
    std::vector<std::int32_t> records(header, header + 18);
    for (int r = 0; r < 35; ++r)
        for (int c = 0; c < 41; ++c)
            records.push_back(400000 + 20000 * std::int32_t(std::sin(r * 0.3) * std::cos(c * 0.2) * 10));
    std::ofstream out(path, std::ios::binary);
    for (std::int32_t v : records) {
        const auto u = std::uint32_t(v);
        const char bytes[4] = {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char(u >> 24)};
        out.write(bytes, 4);
    }
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main()
{
    const auto folder = std::filesystem::temp_directory_path() / ("bench_saphtel_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    WriteGrid((folder / "saphtel").string());

    std::mt19937 rng(1);
    std::uniform_real_distribution<double> lat(47.0 / 57.29577951, 55.5 / 57.29577951);
    std::uniform_real_distribution<double> lon(5.5 / 57.29577951, 15.5 / 57.29577951);
    std::vector<std::pair<double, double>> points(kPoints);
    for (auto& p : points)
        p = {lat(rng), lon(rng)};

    orv::GeoidGridFile grid((folder / "saphtel").string());
    auto start = std::chrono::steady_clock::now();
    double sum = 0;
    for (const auto& [la, lo] : points)
        sum += orv::InterpolateUndulation(grid, la, lo);
    const double interpolation = Seconds(start);

    {
        std::ofstream input(folder / "INPUT.USR", std::ios::binary);
        char line[80];
        for (const auto& [la, lo] : points) {
            const int n = std::snprintf(line, sizeof line, "%.15f %.15f\r\n", la, lo);
            input.write(line, n);
        }
    }
    start = std::chrono::steady_clock::now();
    const int rc = orv::RunSaphtel(folder.string(), std::cerr);
    const double program = Seconds(start);
    std::filesystem::remove_all(folder);

    std::printf("interpolation: %d points in %.3f s, %.0f points/s (checksum %.3f)\n", kPoints, interpolation,
                kPoints / interpolation, sum / kPoints);
    std::printf("program run:   %d points in %.3f s, %.0f points/s (exit %d)\n", kPoints, program, kPoints / program, rc);
    return rc;
}
