// tidewell-datagen: writes a synthetic recorded data file for tests, benchmarks and demos.
//
//   tidewell-datagen --format pd0|pd14 [--count N | --bytes N] [--cells N] [--beam]
//                    [--start "YYYY/MM/DD HH:MM:SS"] [--interval S] [--noise N] [--pad N]
//                    [--restart-at K] [--bad-every N] [--bad-velocity R] [--no-range]
//                    [--seed S] OUT
#include "platform/ProgramArguments.h"
#include "sim/DataGenerator.h"
#include "tools/ProgramInfo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{

const char* const kSynopsis =
    "Usage: tidewell-datagen --format pd0|pd14 [--count N | --bytes N] [--cells N] [--beam]\n"
    "       [--start \"YYYY/MM/DD HH:MM:SS\"] [--interval S] [--noise N] [--pad N]\n"
    "       [--restart-at K] [--bad-every N] [--bad-velocity R] [--no-range] [--seed S] OUT\n";

void Help(std::FILE* out)
{
    std::fputs(kSynopsis, out);
    std::fputs("Writes a recorded data file of generated ensembles to OUT.\n"
               "  --format pd0|pd14     the ensemble format\n"
               "  --count N             ensembles to write, damaged ones included (default 100)\n"
               "  --bytes N             instead: write ensembles until the file is this large\n"
               "  --cells N             depth cells per ensemble (default 30)\n"
               "  --beam                pd0: beam velocities instead of X/Y components\n"
               "  --start TIME          time of the first ensemble (default 2005/12/03 00:00:00)\n"
               "  --interval S          seconds between ensembles (default 600)\n"
               "  --noise N             up to N stray bytes before each ensemble\n"
               "  --pad N               pad the end with 0x1A up to a multiple of N bytes\n"
               "  --restart-at K        the numbering starts again at 1 from ensemble K\n"
               "  --bad-every N         every Nth ensemble damaged\n"
               "  --bad-velocity R      share of velocity values written as missing (0..1)\n"
               "  --no-range            pd0: no range section\n"
               "  --seed S              seed of the random figures (default 1)\n"
               "  --help                this text\n"
               "  --version             the program's version\n",
               out);
}

int Usage()
{
    std::fputs(kSynopsis, stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int status = AnswerHelpOrVersion(argc, argv, "tidewell-datagen", Help); status >= 0)
        return status;
    SDataGenOptions o;
    std::string out;
    // UTF-8 on every system, so that OUT may name any file.
    const std::vector<std::string> args = Utf8Arguments(argc, argv);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string a = args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "tidewell-datagen: option %s needs a value\n", a.c_str());
                std::exit(Usage());
            }
            return args[++i];
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
