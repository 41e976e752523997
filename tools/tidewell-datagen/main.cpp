// tidewell-datagen: writes a synthetic recorded data file for tests, benchmarks and demos.
//
//   tidewell-datagen --format pd0|pd14 [--count N | --bytes N] [--cells N] [--beam]
//                    [--start "YYYY/MM/DD HH:MM:SS"] [--interval S] [--noise N] [--pad N]
//                    [--restart-at K] [--bad-every N] [--bad-velocity R] [--no-range]
//                    [--seed S] OUT
#include "sim/DataGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

int Usage()
{
    std::fprintf(stderr,
                 "Usage: tidewell-datagen --format pd0|pd14 [--count N | --bytes N] [--cells N] [--beam]\n"
                 "       [--start \"YYYY/MM/DD HH:MM:SS\"] [--interval S] [--noise N] [--pad N]\n"
                 "       [--restart-at K] [--bad-every N] [--bad-velocity R] [--no-range] [--seed S] OUT\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    SDataGenOptions o;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tidewell-datagen: option %s needs a value\n", a.c_str());
                std::exit(Usage());
            }
            return argv[++i];
        };
        if (a == "--format") {
            const std::string f = value();
            if (f == "pd0")
                o.m_format = SDataGenOptions::PD0;
            else if (f == "pd14")
                o.m_format = SDataGenOptions::PD14;
            else
                return Usage();
        } else if (a == "--count") {
            o.m_nCount = std::atoi(value().c_str());
        } else if (a == "--bytes") {
            o.m_nTargetBytes = std::strtoull(value().c_str(), nullptr, 10);
        } else if (a == "--cells") {
            o.m_nCells = std::atoi(value().c_str());
        } else if (a == "--beam") {
            o.m_bXY = false;
        } else if (a == "--start") {
            const std::string s = value();
            if (std::sscanf(s.c_str(), "%d/%d/%d %d:%d:%d", &o.m_nYear, &o.m_nMonth, &o.m_nDay, &o.m_nHour,
                            &o.m_nMinute, &o.m_nSecond) != 6)
                return Usage();
        } else if (a == "--interval") {
            o.m_nIntervalSeconds = std::atoi(value().c_str());
        } else if (a == "--noise") {
            o.m_nNoiseMax = std::atoi(value().c_str());
        } else if (a == "--pad") {
            o.m_nPadTo = std::atoi(value().c_str());
        } else if (a == "--restart-at") {
            o.m_nRestartAt = std::atoi(value().c_str());
        } else if (a == "--bad-every") {
            o.m_nBadChecksumEvery = std::atoi(value().c_str());
        } else if (a == "--bad-velocity") {
            o.m_dBadVelocityRatio = std::atof(value().c_str());
        } else if (a == "--no-range") {
            o.m_bWithRange = false;
        } else if (a == "--seed") {
            o.m_nSeed = std::strtoull(value().c_str(), nullptr, 10);
        } else if (a.rfind("--", 0) == 0 || !out.empty()) {
            return Usage();
        } else {
            out = a;
        }
    }
    if (out.empty())
        return Usage();
    SDataGenResult result;
    if (!CDataGenerator(o).WriteFile(out, &result)) {
        std::fprintf(stderr, "tidewell-datagen: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s: %zu bytes, %d ensembles (%d valid, %d numbering restarts)\n", out.c_str(),
                result.m_bytes.size(), result.m_nEnsembles, result.m_nValid, result.m_nRestarts);
    return 0;
}
