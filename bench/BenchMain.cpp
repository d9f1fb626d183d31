// Times the Trafik update on generated accounting databases of growing size, three ways over the
// same statements: through the project's layer (TdmDatenbank and TdmTrafikUpdate), as a bare
// loop of client-library calls replaying the layer's calls, and as one isql-fb script run.
//
//   zav_bench [--sizes GROUPSxUNITS,...] [--runs N] [--keep] [--only ours|bare|isql]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/UpdateRun.h"
#include "bench/BareReplay.h"
#include "bench/CallTrace.h"
#include "bench/GeneratedDatabase.h"
#include "bench/IsqlRun.h"
#include "db/firebird/ClientLibrary.h"
#include "db/firebird/DatenbankDM.h"
#include "db/firebird/DbConnection.h"
#include "db/firebird/DbQuery.h"
#include "db/firebird/DbTransaction.h"
#include "support/ClientTap.h"
#include "support/FileText.h"
#include "update/TrafikUpdateDM.h"

namespace zav::bench {
namespace {
namespace fs = std::filesystem;

struct Options {
    std::vector<DatabaseSize> sizes;
    int runs = 7;
    bool keep = false;
    // Only this way of running the update, for a profiler's eyes.
    std::optional<std::string> only;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    std::string sizes = "100x1,100x50,100x500,1000x1,1000x50,1000x500,10000x1,10000x50,10000x500";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--sizes" && i + 1 < argc) {
            sizes = argv[++i];
        } else if (argument == "--runs" && i + 1 < argc) {
            options.runs = std::max(1, std::stoi(argv[++i]));
        } else if (argument == "--keep") {
            options.keep = true;
        } else if (argument == "--only" && i + 1 < argc) {
            options.only = argv[++i];
        } else {
            throw std::runtime_error(
                "usage: zav_bench [--sizes GROUPSxUNITS,...] [--runs N] [--keep] "
                "[--only ours|bare|isql]");
        }
    }
    std::size_t start = 0;
    while (start < sizes.size()) {
        const std::size_t comma = std::min(sizes.find(',', start), sizes.size());
        const std::string item = sizes.substr(start, comma - start);
        const std::size_t x = item.find('x');
        if (x == std::string::npos) {
            throw std::runtime_error("a size is GROUPSxUNITS, not " + item);
        }
        options.sizes.push_back({std::stoi(item.substr(0, x)), std::stoi(item.substr(x + 1))});
        start = comma + 1;
    }
    return options;
}

// Wall-clock and processor time of one piece of work. The processor time is this process's (all
// its threads, the embedded engine's among them) or, for a child process, the child's.
struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

double CpuMs(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

Timing TimeOf(const std::function<void()>& work, int who = RUSAGE_SELF) {
    const double cpuStart = CpuMs(who);
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(), CpuMs(who) - cpuStart};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The two data modules as the main window creates them.
struct DataModules {
    explicit DataModules(ClientLibrary& library = ClientLibrary::System()) : datenbank(library) {}
    TdmDatenbank datenbank;
    TdmTrafikUpdate trafikUpdate{datenbank};
};

// The calls the layer makes for one update, traced through the client tap.
std::vector<TracedCall> TraceUpdate(const std::string& path) {
    ClientLibrary tapLibrary({ZAV_CLIENT_TAP});
    DataModules modules(tapLibrary);

    std::vector<std::string> lines;
    const tap::Control tap = tap::Control::Of(ZAV_CLIENT_TAP);
    tap.setTrace(
        [](const char* line, void* context) {
            static_cast<std::vector<std::string>*>(context)->push_back(line);
        },
        &lines);
    try {
        RunUpdate(modules.datenbank, modules.trafikUpdate, path);
    } catch (...) {
        tap.setTrace(nullptr, nullptr);
        throw;
    }
    tap.setTrace(nullptr, nullptr);
    return ParseTrace(lines);
}

// Checks the outcome of an update against what it must have written.
void Verify(const std::string& path, DatabaseSize size, const char* method) {
    TDbConnection connection;
    TDbTransaction transaction(connection);
    TDbQuery query("dqCheck", connection, transaction);
    connection.SetDatabaseName(path);
    connection.Params() = {"user_name=sysdba", "password=quillbarn"};
    query.SetSQL(
        "select (select count(*) from HGR_ARTIKEL), (select max(POS) from HGR_ARTIKEL), "
        "(select count(*) from MONAT_ERLOS), (select count(*) from ARTIKEL), "
        "(select count(*) from LIEFERANT_ARTIKEL), "
        "(select POS from HGR_ARTIKEL where BEZEICHNUNG = 'Zeitungen 5% Sondersteuersatz') "
        "from RDB$DATABASE");
    query.Open();
    const int history = std::min(size.groups, 10) * size.units * 12;
    const std::vector<int> expected = {
        size.groups + 1, size.groups + 1, history + 12 * size.units, 2, 4, (size.groups + 1) / 2};
    for (int i = 0; i < static_cast<int>(expected.size()); ++i) {
        if (query.Field(i).AsInteger() != expected[static_cast<std::size_t>(i)]) {
            throw std::runtime_error(std::string(method) + " left a wrong result in " + path +
                                     " (column " + std::to_string(i + 1) + ")");
        }
    }
    query.Close();
    connection.Close();
}

enum Method { kOurs, kBare, kIsql, kMethods };
constexpr const char* kMethodNames[kMethods] = {"ours", "bare", "isql"};

struct Row {
    DatabaseSize size;
    std::size_t statements = 0;
    std::vector<Timing> runs[kMethods];
};

// The median of one measure over the runs of a method; 0 when it did not run.
double MedianOf(const Row& row, Method method, double Timing::*measure) {
    std::vector<double> values;
    for (const Timing& timing : row.runs[method]) {
        values.push_back(timing.*measure);
    }
    return values.empty() ? 0 : Median(values);
}

// The median of the ratios run by run: the methods of one run share the machine's moment.
double MedianRatio(const Row& row, Method method, Method base, double Timing::*measure) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < row.runs[method].size() && i < row.runs[base].size(); ++i) {
        ratios.push_back(row.runs[method][i].*measure / (row.runs[base][i].*measure));
    }
    return ratios.empty() ? 0 : Median(ratios);
}

// A number for the table, or "-" for a method that did not run.
std::string Cell(double value, const char* format) {
    if (!(value > 0) || value == std::numeric_limits<double>::infinity()) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void PrintTable(const std::vector<Row>& rows, double Timing::*measure, const char* title) {
    std::printf("\n%s\n", title);
    std::printf("%7s %6s %7s | %9s %9s %9s | %9s %9s | %8s %8s %8s\n", "groups", "units", "stmts",
                "ours ms", "bare ms", "isql ms", "ours/bare", "ours/isql", "ours us", "bare us",
                "isql us");
    for (const Row& row : rows) {
        const double ours = MedianOf(row, kOurs, measure);
        const double bare = MedianOf(row, kBare, measure);
        const double isql = MedianOf(row, kIsql, measure);
        const double perStatement = 1000.0 / static_cast<double>(row.statements);
        std::printf("%7d %6d %7zu | %9s %9s %9s | %9s %9s | %8s %8s %8s\n", row.size.groups,
                    row.size.units, row.statements, Cell(ours, "%.1f").c_str(),
                    Cell(bare, "%.1f").c_str(), Cell(isql, "%.1f").c_str(),
                    Cell(MedianRatio(row, kOurs, kBare, measure), "%.3f").c_str(),
                    Cell(MedianRatio(row, kOurs, kIsql, measure), "%.3f").c_str(),
                    Cell(ours * perStatement, "%.1f").c_str(),
                    Cell(bare * perStatement, "%.1f").c_str(),
                    Cell(isql * perStatement, "%.1f").c_str());
    }
    std::printf("(ratios: median of the runs' ratios; us: per statement sent)\n");
}

Row Measure(const std::string& folder, DatabaseSize size, int runs, std::optional<Method> only) {
    const GeneratedDatabase database(folder, size);
    const std::vector<TracedCall> calls = TraceUpdate(database.FreshCopy("trace"));

    Row row;
    row.size = size;
    row.statements = ExecutedStatements(calls).size();
    DataModules modules;
    const std::string scriptPath = (fs::path(folder) / "update.sql").string();
    for (int run = 0; run < runs; ++run) {
        // The three take turns, each run starting with the next, so that neither a slow moment of
        // the machine nor the place in the order falls on one alone.
        for (int turn = 0; turn < kMethods; ++turn) {
            const int method = (run + turn) % kMethods;
            if (only && *only != method) {
                continue;
            }
            const std::string path = database.FreshCopy(kMethodNames[method]);
            if (method == kOurs) {
                row.runs[method].push_back(
                    TimeOf([&] { RunUpdate(modules.datenbank, modules.trafikUpdate, path); }));
            } else if (method == kBare) {
                row.runs[method].push_back(TimeOf([&] { ReplayOnClient(calls, path); }));
            } else {
                test::WriteFile(scriptPath, IsqlScript(calls));
                row.runs[method].push_back(
                    TimeOf([&] { RunIsql(scriptPath, path); }, RUSAGE_CHILDREN));
            }
            Verify(path, size, kMethodNames[method]);
        }
    }
    return row;
}

std::optional<Method> MethodNamed(const std::optional<std::string>& name) {
    if (!name) {
        return std::nullopt;
    }
    for (int method = kOurs; method < kMethods; ++method) {
        if (*name == kMethodNames[method]) {
            return static_cast<Method>(method);
        }
    }
    throw std::runtime_error("--only takes ours, bare or isql, not " + *name);
}

int Run(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    const std::optional<Method> only = MethodNamed(options.only);
    std::string pattern = (fs::temp_directory_path() / "zav-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    const std::string folder = pattern;
    std::vector<Row> rows;
    try {
        for (const DatabaseSize& size : options.sizes) {
            rows.push_back(Measure(folder, size, options.runs, only));
            std::fprintf(stderr, "measured %d groups x %d units\n", size.groups, size.units);
        }
    } catch (...) {
        std::fprintf(stderr, "files kept in %s\n", folder.c_str());
        throw;
    }
    std::printf(
        "Trafik update with UpdateSteuersatz, from attach to detach (isql-fb: the whole process), "
        "median of %d runs\n",
        options.runs);
    PrintTable(rows, &Timing::wallMs, "Wall-clock time");
    PrintTable(rows, &Timing::cpuMs, "Processor time (user + system, all threads)");
    if (options.keep) {
        std::printf("files kept in %s\n", folder.c_str());
    } else {
        fs::remove_all(folder);
    }
    return 0;
}

}  // namespace
}  // namespace zav::bench

int main(int argc, char** argv) {
    try {
        return zav::bench::Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zav_bench: %s\n", error.what());
        return 1;
    }
}
