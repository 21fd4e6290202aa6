#include "support/TestGrids.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orv::test {

int GridSpec::rows() const
{
    return int((latMax - latMin) / latStep) + 1;
}

int GridSpec::cols() const
{
    return int((lonMax - lonMin) / lonStep) + 1;
}

double GridSpec::LatOfRow(int row) const
{
    return double(latMax - (row - 1) * latStep) / 3600e6;
}

double GridSpec::LonOfCol(int col) const
{
    return double(lonMin + (col - 1) * lonStep) / 3600e6;
}

std::vector<std::int32_t> HeaderRecords(const GridSpec& s)
{
    std::vector<std::int32_t> r;
    for (std::int64_t v : {s.latMin, s.latMax, s.lonMin, s.lonMax, s.latStep, s.lonStep}) {
        r.push_back(std::int32_t(v / 3600000000LL));
        r.push_back(std::int32_t(v % 3600000000LL / 60000000LL));
        r.push_back(std::int32_t(v % 60000000LL));
    }
    return r;
}

void WriteRecords(const std::string& path, const std::vector<std::int32_t>& records, const std::string& trailing)
{
    std::string bytes;
    for (std::int32_t v : records) {
        const auto u = std::uint32_t(v);
        for (int k = 0; k < 4; ++k)
            bytes.push_back(char((u >> (8 * k)) & 0xFF));
    }
    WriteFileBytes(path, bytes + trailing);
}

void WriteGrid(const std::string& path, const GridSpec& spec,
               const std::function<std::int32_t(int, int)>& node, const std::string& trailing)
{
    std::vector<std::int32_t> records = HeaderRecords(spec);
    for (int r = 1; r <= spec.rows(); ++r)
        for (int c = 1; c <= spec.cols(); ++c)
            records.push_back(node(r, c));
    WriteRecords(path, records, trailing);
}

std::vector<std::int32_t> ReadRecords(const std::string& path)
{
    const std::string bytes = ReadFileBytes(path);
    std::vector<std::int32_t> records;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        std::uint32_t u = 0;
        for (int k = 0; k < 4; ++k)
            u |= std::uint32_t(static_cast<unsigned char>(bytes[i + k])) << (8 * k);
        records.push_back(std::int32_t(u));
    }
    return records;
}

namespace {

double Keys(double x)
{
    const double a = -0.5;
    x = std::fabs(x);
    if (x <= 1)
        return (a + 2) * x * x * x - (a + 3) * x * x + 1;
    if (x < 2)
        return a * x * x * x - 5 * a * x * x + 8 * a * x - 4 * a;
    return 0;
}

} // namespace

double CatmullRom(double rowPos, double colPos, const std::function<double(int, int)>& node)
{
    const int r0 = int(std::floor(rowPos));
    const int c0 = int(std::floor(colPos));
    double sum = 0;
    for (int r = r0 - 1; r <= r0 + 2; ++r)
        for (int c = c0 - 1; c <= c0 + 2; ++c)
            sum += node(r, c) * Keys(rowPos - r) * Keys(colPos - c);
    return sum;
}

double Rad(double degrees)
{
    return degrees / 57.29577951;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string DefaultGridPath()
{
    return std::string(ORV_SOURCE_DIR) + "/data/Orvenil-Datenbanken/EGM96_Deutschland.grd";
}

} // namespace orv::test
