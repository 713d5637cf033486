// Benchmark: 2000-point sweeps from the simulator over loopback TCP.
//  1. The download of an FRA sweep (6 values a line) and of an LCR sweep
//     (13 values a line: a type-9 instrument measuring "Auto", layout 6) by
//     the sweep workers themselves, timed from their "Downloading sweep
//     data" report (just before the download command goes out) to the step
//     of the last point, beside a plain socket loop that sends the same
//     command and counts the same number of lines, in the same run. The
//     simulators answer at once (no sweep time), so the rest of each
//     worker run is its set-up. Aims: within 1.5 times the plain loop
//     natively, 3 times under Wine.
//  2. fra_save_worker storing the 2000 FRA points as a test in a fresh
//     database file (a new one each round, made before the clock starts).
//  3. A whole FRA sweep against a simulator that takes 1 ms a step, 2000 ms
//     for the sweep: fra_sweep_worker in this process, with its link
//     drains (the protocol's fixed waits) counted on the link clock, and
//     the command-line tool from its start to its exit ("sweep fra --steps
//     2000 --out FILE"), beside the tool's "config read" (identification
//     and the configuration read every tool sweep starts with). The worker
//     should add to the sweep time at most one poll interval (200 ms) and
//     its fixed waits.
//
// Every simulator starts in the measurement mode of its sweep, so no mode
// change (and no 2000 ms settling wait) happens; a run that slept for one
// is reported. Needs three simulators, for example
//   hvxsim --address 127.0.0.1 --instrument hvxc --point-ms 0 --set 18=2000
//   hvxsim --address 127.0.0.2 --instrument hvxc --point-ms 0 --set 18=2000 --set 1=3 --set 137=0
//   hvxsim --address 127.0.0.3 --instrument hvxc --point-ms 1 --set 18=2000
// usage: bench_sweep_download FRA_ADDRESS LCR_ADDRESS TIMED_ADDRESS [ROUNDS]
// (ROUNDS whole sweeps, default 5, and four times as many downloads)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_process.h"
#include "bench_support.h"
#include "app/progress_reporter.h"
#include "app/user_prompt.h"
#include "config/hvx_cfg_ck.h"
#include "db/db_connection.h"
#include "db/db_write.h"
#include "fra/fra_sweep_worker.h"
#include "fra/sweep_job.h"
#include "impedance/lcr_sweep_worker.h"
#include "link/connection.h"
#include "link/identify.h"
#include "link/transport.h"

namespace {

using namespace bench;

namespace fs = std::filesystem;

constexpr int SWEEP_POINTS = 2000;
constexpr double TIMED_SWEEP_MS = SWEEP_POINTS * 1.0;  // the third simulator's 1 ms a step
// A download round takes a quarter of a second, a whole-sweep round several
// seconds: the downloads (whose figures are a few milliseconds and noisy)
// get this many rounds for each whole-sweep round.
constexpr int DOWNLOAD_ROUNDS_PER_ROUND = 4;
// The sweep workers' own sleeps, told apart from the link's drains by length.
constexpr int POLL_INTERVAL_MS = 200;
constexpr int MODE_CHANGE_MS = 2000;

[[noreturn]] void fail(const char* what, const char* detail)
{
    std::fprintf(stderr, "bench_sweep_download: %s (%s)\n", what, detail);
    std::exit(1);
}

// Median and spread of one figure, in milliseconds.
struct figure {
    std::vector<double> ms;

    void add_seconds(double s) { ms.push_back(s * 1000.0); }
    double middle() const { return median(ms); }
    void print(const char* label) const
    {
        const auto [low, high] = std::minmax_element(ms.begin(), ms.end());
        std::printf("  %-40s: %8.2f ms  (%.2f to %.2f)\n", label, middle(), *low, *high);
    }
};

// The platform clock, adding up the link's and the workers' sleeps by kind.
class counting_clock final : public link_clock {
public:
    std::uint64_t now_ms() override { return platform_link_clock().now_ms(); }
    void sleep_ms(int ms) override
    {
        const double start = now_seconds();
        platform_link_clock().sleep_ms(ms);
        const double slept = now_seconds() - start;
        (ms == POLL_INTERVAL_MS ? polls : ms == MODE_CHANGE_MS ? mode_changes : drains) += slept;
    }
    void restart() { drains = polls = mode_changes = 0; }
    double drains = 0;
    double polls = 0;
    double mode_changes = 0;
};

// The worker's reports as times: the download command going out (the
// "Downloading sweep data" text comes just before it) and the last point.
class download_times final : public progress_reporter {
public:
    void report(int command, std::intptr_t value, const char* text) override
    {
        if (command == PROGRESS_SET_TEXT && text && std::strcmp(text, SWEEP_DOWNLOADING_TEXT) == 0) {
            sent = now_seconds();
        } else if (command == PROGRESS_SET_RANGE) {
            range = value;
        } else if (command == PROGRESS_STEP && value == range) {
            last_point = now_seconds();
        }
    }
    double sent = 0;
    double last_point = 0;
    std::intptr_t range = -1;
};

// The reference: one blocking socket, the command with its NUL, large
// receives, line feeds counted up to the sweep's points.
double plain_download(const char* address, const char* command)
{
    const raw_socket s = connect_raw(address, LINK_TCP_PORT);
    char buffer[65536];
    const double start = now_seconds();
    ::send(s, command, static_cast<int>(std::strlen(command) + 1), 0);
    int lines = 0;
    while (lines < SWEEP_POINTS) {
        const int got = static_cast<int>(::recv(s, buffer, sizeof buffer, 0));
        if (got <= 0) {
            fail("plain loop: the connection ended early", address);
        }
        lines += static_cast<int>(std::count(buffer, buffer + got, '\n'));
    }
    const double elapsed = now_seconds() - start;
    close_raw(s);
    return elapsed;
}

// One identified type-9 instrument and its model, for the workers.
struct instrument {
    s_connection conn;
    hvx_cfg_ck model;

    explicit instrument(const char* address)
    {
        conn.interface = LINK_LAN;
        connection_set_ip_address(&conn, address);
        silent_prompt quiet;
        if (!identify_connection(&conn, quiet).identified || conn.instrument_type != INSTRUMENT_HVXC) {
            fail("no type-9 instrument identified", address);
        }
    }
    s_sweep_context context(progress_reporter* progress)
    {
        s_sweep_context c;
        c.connection = &conn;
        c.config = &model;
        c.progress = progress;
        return c;
    }
};

struct worker_run {
    double whole;
    double download;
};

template <typename Job, typename Worker>
worker_run run_worker(instrument& device, Job& job, Worker worker, counting_clock& clock, const char* label)
{
    download_times times;
    clock.restart();
    const double start = now_seconds();
    const sweep_outcome outcome = worker(job, device.context(&times));
    const double whole = now_seconds() - start;
    if (outcome != sweep_outcome::delivered || job.received != SWEEP_POINTS) {
        fail("the sweep delivered nothing or too few points", label);
    }
    if (clock.mode_changes > 0) {
        std::printf("  (%s: the instrument changed mode, %.0f ms of settling)\n", label, clock.mode_changes * 1000);
    }
    return {whole, times.last_point - times.sent};
}

struct download_figures {
    figure plain, engine, worker;
};

void print_download(const char* title, const download_figures& f)
{
    std::printf("%s\n", title);
    f.plain.print("plain socket loop");
    f.engine.print("worker's download");
    f.worker.print("worker, whole run (set-up included)");
    std::printf("  %-40s: %8.2f\n", "ratio", f.engine.middle() / f.plain.middle());
}

fs::path fresh_folder()
{
    const fs::path folder =
        fs::temp_directory_path() /
        ("corvexa2-bench-sweep-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder);
    return folder;
}

// The 2000 points of block into a new database file, the save alone timed.
double timed_save(const fs::path& file, s_sweep_job& job)
{
    bool created = false;
    if (!db_open(file.string(), DB_OPEN_CREATE, &created)) {
        fail("creating the database", file.string().c_str());
    }
    s_db_session session;
    std::snprintf(session.name, sizeof session.name, "Bench");
    if (db_save_session(session, false) != 0) {
        fail("saving the session", file.string().c_str());
    }
    job.pending_test = s_db_test{};
    job.pending_test.session_number = session.session_number;
    std::snprintf(job.pending_test.name, sizeof job.pending_test.name, "Sweep");
    const double start = now_seconds();
    const bool saved = fra_save_worker(job, nullptr);
    const double elapsed = now_seconds() - start;
    db_close();
    if (!saved) {
        fail("fra_save_worker", file.string().c_str());
    }
    return elapsed;
}

// Lines of the tool's sweep data file (a title line and one per point).
int file_lines(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return static_cast<int>(std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
}

double timed_tool(const std::string& tool, const std::vector<std::string>& words)
{
    const double start = now_seconds();
    const int status = run_child_process(tool, words);
    const double elapsed = now_seconds() - start;
    if (status != 0) {
        fail("the tool failed", (words.size() > 3 ? words[2] + " " + words[3] : tool).c_str());
    }
    return elapsed;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_sweep_download FRA_ADDRESS LCR_ADDRESS TIMED_ADDRESS [ROUNDS]\n");
        return 2;
    }
    const char* fra_address = argv[1];
    const char* lcr_address = argv[2];
    const char* timed_address = argv[3];
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    counting_clock clock;
    link_use_backend(nullptr, nullptr, &clock);
    instrument fra_device(fra_address);
    instrument lcr_device(lcr_address);
    instrument timed_device(timed_address);
    const std::string tool = sibling_program("corvexa2-cli");
    const fs::path folder = fresh_folder();

    // 1 and 2: the downloads, and the save of each FRA download.
    download_figures fra, lcr;
    figure save;
    s_sweep_job fra_job;
    s_lcr_sweep_job lcr_job;
    const int download_rounds = rounds * DOWNLOAD_ROUNDS_PER_ROUND;
    for (int round = 0; round < download_rounds; ++round) {
        fra.plain.add_seconds(plain_download(fra_address, "gainph,sweep?\n"));
        const worker_run f = run_worker(fra_device, fra_job, fra_sweep_worker, clock, "FRA");
        fra.engine.add_seconds(f.download);
        fra.worker.add_seconds(f.whole);
        save.add_seconds(timed_save(folder / ("save-" + std::to_string(round) + ".db"), fra_job));

        lcr.plain.add_seconds(plain_download(lcr_address, "LCR,SWEEP?\n"));
        const worker_run l = run_worker(lcr_device, lcr_job, lcr_sweep_worker, clock, "LCR");
        if (lcr_job.layout != 6) {
            fail("the LCR sweep is not in layout 6", lcr_address);
        }
        lcr.engine.add_seconds(l.download);
        lcr.worker.add_seconds(l.whole);
    }

    // 3: the whole sweep, in this process and by the tool.
    figure worker_whole, drains, tool_sweep, tool_start;
    s_sweep_job timed_job;
    const fs::path out_file = folder / "sweep.txt";
    for (int round = 0; round < rounds; ++round) {
        const worker_run w = run_worker(timed_device, timed_job, fra_sweep_worker, clock, "timed FRA");
        worker_whole.add_seconds(w.whole);
        drains.add_seconds(clock.drains);
        fs::remove(out_file);
        tool_sweep.add_seconds(timed_tool(
            tool, {"--lan", timed_address, "sweep", "fra", "--steps", std::to_string(SWEEP_POINTS), "--out",
                   out_file.string()}));
        if (file_lines(out_file) < SWEEP_POINTS) {
            fail("the tool's sweep data file is short", out_file.string().c_str());
        }
        tool_start.add_seconds(timed_tool(tool, {"--lan", timed_address, "config", "read"}));
    }
    link_restore_platform_backend();
    std::error_code ignored;
    fs::remove_all(folder, ignored);

    std::printf("sweep_download: %d-point sweeps over loopback TCP, median (lowest to highest) of %d rounds"
                " (%d for the whole sweeps)\n",
                SWEEP_POINTS, download_rounds, rounds);
    print_download("FRA download, 6 values a line (\"gainph,sweep?\")", fra);
    print_download("LCR download, 13 values a line (\"LCR,SWEEP?\", layout 6)", lcr);
    std::printf("FRA save of %d points into a fresh database file\n", SWEEP_POINTS);
    save.print("fra_save_worker");
    std::printf("Whole FRA sweep, simulator's sweep time %.0f ms (%d steps x 1 ms)\n", TIMED_SWEEP_MS, SWEEP_POINTS);
    worker_whole.print("fra_sweep_worker, whole run");
    std::printf("  %-40s: %8.2f ms\n", "over the sweep time", worker_whole.middle() - TIMED_SWEEP_MS);
    drains.print("of which link drains (fixed waits)");
    std::printf("  %-40s: %8.2f ms (aim: at most %d)\n", "the rest (poll lag, traffic, download)",
                worker_whole.middle() - TIMED_SWEEP_MS - drains.middle(), POLL_INTERVAL_MS);
    tool_sweep.print("corvexa2-cli sweep fra, start to exit");
    tool_start.print("corvexa2-cli config read, start to exit");
    std::printf("  %-40s: %8.2f ms\n", "tool's sweep beyond the worker",
                tool_sweep.middle() - worker_whole.middle());
    return 0;
}
