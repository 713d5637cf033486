// Benchmark: the text export of a 2000-point FRA sweep (two channels, seven
// columns: the step and six cells of "%.5e" with three exponent digits),
// composed with the German number format's punctuation and written to a
// file, beside a plain loop that fprintf's the same cells ("%d\t%.5e...")
// into a file, in the same run. The export should stay within twice the
// plain loop.
//
// Files go to the system's temporary folder and are removed at the end.
// usage: bench_export [ROUNDS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/text_file.h"
#include "bench_support.h"
#include "export/sweep_text_export.h"
#include "fra/sweep_records.h"

namespace {

using bench::median;
using bench::now_seconds;

constexpr int POINT_COUNT = 2000;

std::unique_ptr<s_fra_sweep> sweep_of_points()
{
    auto sweep = make_fra_sweep();
    sweep->points = POINT_COUNT;
    sweep->channels = 2;
    for (int i = 0; i < POINT_COUNT; ++i) {
        const double f = 10.0 * (i + 1);
        sweep->point[i] = {f, 1.0, 1.0 / (1.0 + f / 1000), -6.02 * i / POINT_COUNT, -45.0 * i / POINT_COUNT,
                           1e-4 * i, 0, 0, 0, 0};
    }
    return sweep;
}

double export_seconds(const s_fra_sweep& sweep, const std::string& path)
{
    const double start = now_seconds();
    const std::string text = fra_sweep_export_text(sweep, "", {{',', '.', "\3"}, false});
    if (!write_text_file(path, text)) {
        std::fprintf(stderr, "bench_export: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    return now_seconds() - start;
}

double plain_seconds(const s_fra_sweep& sweep, const std::string& path)
{
    const double start = now_seconds();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::exit(1);
    }
    for (int i = 0; i < POINT_COUNT; ++i) {
        const s_fra_result& p = sweep.point[i];
        std::fprintf(file, "%d\t%.5e\t%.5e\t%.5e\t%.5e\t%.5e\t%.5e\r\n", i + 1, p.frequency, p.magnitude1,
                     p.magnitude2, p.gain, p.phase, p.delay);
    }
    std::fclose(file);
    return now_seconds() - start;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const auto sweep = sweep_of_points();
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string exported = (folder / "bench_export_sweep.txt").string();
    const std::string plain = (folder / "bench_export_plain.txt").string();
    std::vector<double> export_times, plain_times;
    for (int round = 0; round < rounds; ++round) {
        export_times.push_back(export_seconds(*sweep, exported));
        plain_times.push_back(plain_seconds(*sweep, plain));
    }
    const double e = median(export_times) * 1e3;
    const double p = median(plain_times) * 1e3;
    std::printf("bench_export: %d points, median of %d rounds\n", POINT_COUNT, rounds);
    std::printf("FRA sweep text export    %7.2f ms   plain fprintf loop %7.2f ms   ratio %5.2f\n", e, p,
                p > 0 ? e / p : 0.0);
    std::filesystem::remove(exported);
    std::filesystem::remove(plain);
    return 0;
}
